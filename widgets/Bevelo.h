// Bevelo: the owner-drawn push and toggle button used for every button of the
// main window. It keeps its properties (BeveloProperties), turns mouse,
// keyboard and focus into a visual state (1 normal, 2 hot, 3 pressed,
// 4 disabled) and into the signals Click, MouseEnter and MouseLeave, and draws
// itself onto a persistent surface that paintEvent only shows.
//
// The control's own interface is written in CamelCase (Caption(), SetCaption(),
// Refresh(), ...) so it never hides a QWidget member of a similar name: the Qt
// properties carry the same names ("Caption", "Style", "Enabled", "Font", ...).
// Every setter stores the value as given (no checks), tells the host, and
// reshapes and/or repaints, in the order each one documents.
#pragma once

#include <QImage>
#include <QKeySequence>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>

#include "widgets/BeveloFields.h"

class BeveloHost;
class BeveloPropertyBag;
class BeveloToolTip;
class BeveloAboutPanel;
class QPainter;

class Bevelo : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int Style READ Style WRITE SetStyle)
    Q_PROPERTY(int NonThemeStyle READ NonThemeStyle WRITE SetNonThemeStyle)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int CaptionAlign READ CaptionAlign WRITE SetCaptionAlign)
    Q_PROPERTY(int IconAlign READ IconAlign WRITE SetIconAlign)
    Q_PROPERTY(QImage Icon READ Icon WRITE SetIcon)
    Q_PROPERTY(QFont Font READ Font WRITE SetFont)
    Q_PROPERTY(short IconSize READ IconSize WRITE SetIconSize)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(bool ShowFocus READ ShowFocus WRITE SetShowFocus)
    Q_PROPERTY(bool UseCustomColors READ UseCustomColors WRITE SetUseCustomColors)
    Q_PROPERTY(quint32 BackColor READ BackColor WRITE SetBackColor)
    Q_PROPERTY(quint32 HighlightColor READ HighlightColor WRITE SetHighlightColor)
    Q_PROPERTY(quint32 FontColor READ FontColor WRITE SetFontColor)
    Q_PROPERTY(quint32 FontHighlightColor READ FontHighlightColor WRITE SetFontHighlightColor)
    Q_PROPERTY(QString ToolTipText READ ToolTipText WRITE SetToolTipText)
    Q_PROPERTY(QString ToolTipTitle READ ToolTipTitle WRITE SetToolTipTitle)
    Q_PROPERTY(int ToolTipIcon READ ToolTipIcon WRITE SetToolTipIcon)
    Q_PROPERTY(int ToolTipType READ ToolTipType WRITE SetToolTipType)
    Q_PROPERTY(quint32 ToolTipBackColor READ ToolTipBackColor WRITE SetToolTipBackColor)
    Q_PROPERTY(quint32 ToolTipForeColor READ ToolTipForeColor WRITE SetToolTipForeColor)
    Q_PROPERTY(int ButtonType READ ButtonType WRITE SetButtonType)
    Q_PROPERTY(bool Value READ Value WRITE SetValue)
    Q_PROPERTY(quint32 MaskColor READ MaskColor WRITE SetMaskColor)
    Q_PROPERTY(bool UseMaskColor READ UseMaskColor WRITE SetUseMaskColor)
    Q_PROPERTY(short MousePointer READ MousePointer WRITE SetMousePointer)

  public:
    // A new instance: style 0, caption = the site's name (objectName, which a
    // caller may set later with SetCaption), system colours as RGB now.
    // `host` defaults to BeveloHost::defaultHost() and must outlive the control.
    explicit Bevelo(QWidget* parent = nullptr, BeveloHost* host = nullptr);
    // The same with the site's name (objectName) given first, so that the new
    // instance's caption reads it.
    Bevelo(const QString& name, QWidget* parent, BeveloHost* host = nullptr);
    ~Bevelo() override;

    // --- properties -------------------------------------------------------
    int Style() const { return m_props.Style; }
    void SetStyle(int value);
    int NonThemeStyle() const { return m_props.NonThemeStyle; }
    void SetNonThemeStyle(int value);
    QString Caption() const { return m_props.Caption; }
    void SetCaption(const QString& value);
    int CaptionAlign() const { return m_props.CaptionAlign; }
    void SetCaptionAlign(int value);
    int IconAlign() const { return m_props.IconAlign; }
    void SetIconAlign(int value);
    QImage Icon() const { return m_props.Icon; }
    void SetIcon(const QImage& value);
    QFont Font() const { return font(); }  // the surface's font
    void SetFont(const QFont& value);
    short IconSize() const { return static_cast<short>(m_props.IconSize); }
    void SetIconSize(short value);
    bool Enabled() const { return m_props.Enabled; }
    void SetEnabled(bool value);
    bool ShowFocus() const { return m_props.ShowFocus; }
    void SetShowFocus(bool value);
    bool UseCustomColors() const { return m_props.UseCustomColors; }
    void SetUseCustomColors(bool value);
    quint32 BackColor() const { return m_props.BackColor; }
    void SetBackColor(quint32 value);
    quint32 HighlightColor() const { return m_props.HighlightColor; }
    void SetHighlightColor(quint32 value);
    quint32 FontColor() const { return m_props.FontColor; }
    void SetFontColor(quint32 value);
    quint32 FontHighlightColor() const { return m_props.FontHighlightColor; }
    void SetFontHighlightColor(quint32 value);
    QString ToolTipText() const { return m_props.ToolTipText; }
    void SetToolTipText(const QString& value);
    QString ToolTipTitle() const { return m_props.ToolTipTitle; }
    void SetToolTipTitle(const QString& value);
    int ToolTipIcon() const { return m_props.ToolTipIcon; }
    void SetToolTipIcon(int value);
    int ToolTipType() const { return m_props.ToolTipType; }
    void SetToolTipType(int value);
    quint32 ToolTipBackColor() const { return m_props.ToolTipBackColor; }
    void SetToolTipBackColor(quint32 value);
    quint32 ToolTipForeColor() const { return m_props.ToolTipForeColor; }
    void SetToolTipForeColor(quint32 value);
    int ButtonType() const { return m_props.ButtonType; }
    void SetButtonType(int value);
    bool Value() const { return m_props.Value; }
    void SetValue(bool value);
    quint32 MaskColor() const { return m_props.MaskColor; }
    void SetMaskColor(quint32 value);
    bool UseMaskColor() const { return m_props.UseMaskColor; }
    void SetUseMaskColor(bool value);
    short MousePointer() const { return m_mousePointer; }  // the surface's pointer
    void SetMousePointer(short value);

    // --- methods ----------------------------------------------------------
    // Full repaint: the state settles now, the surface is drawn before it is
    // next shown or read.
    void Refresh();
    static QString Version() { return QStringLiteral("3.4.0"); }
    // Shows the About panel.
    void About();
    // Opens `link` with the desktop's handler. Returns a value above 32 when
    // it was handed over, 2 when the link is empty or not a valid address,
    // 31 when no handler took it.
    std::int32_t OpenLink(const QString& link);
    // Draws `icon` in grey at (x, y) stretched to width x height; false when
    // there is no painter or no icon.
    bool PaintIconGrayscale(QPainter* dc, const QImage& icon, int x, int y, int height, int width);

    // --- persistence ------------------------------------------------------
    // Restores a stored control (this is how the window creates its buttons)
    // and, at run time with mouse tracking available, starts watching the
    // mouse entering and leaving.
    void loadProperties(const BeveloPropertyBag& bag);
    // Writes every key with its write default into `bag`.
    void saveProperties(BeveloPropertyBag& bag) const;

    // --- host side --------------------------------------------------------
    BeveloHost& host() const { return *m_host; }
    // The host reports a change of an ambient property by name.
    void ambientPropertyChanged(const QString& name);
    // The host's click notification (a completed click on the control).
    // Runs the click action only when the last button released was the left.
    void clickNotification();

    // The one place that handles the window notifications the control
    // watches after normal processing: 512 first mouse move inside, 675 mouse
    // left, 794 theme changed, 21 system colours changed. `handled` and
    // `result` are left as they are.
    enum WatchedMessage : unsigned {
        MsgMouseMove = 512,
        MsgMouseLeave = 675,
        MsgThemeChanged = 794,
        MsgSysColorChange = 21
    };
    void zSubclass_Proc(bool before, bool& handled, qintptr& result, WId window, unsigned message,
                        qintptr wParam, qintptr lParam);

    // Whether the system offers mouse-leave tracking; looked up when a control
    // is loaded at run time. Tests switch it off to run the no-hover path.
    static void setMouseTrackingAvailable(bool available);
    static bool mouseTrackingAvailable();
    bool isWatchingMouse() const { return m_subclassed; }

    // --- state, read by painting, the tooltip and tests ---------------------
    const BeveloProperties& properties() const { return m_props; }
    const BeveloRuntime& runtime() const { return m_rt; }
    int visualState() const { return m_rt.state; }
    // The drawn surface, up to date with the last Refresh.
    const QImage& surface();
    BeveloToolTip* toolTipWindow() const { return m_toolTip.get(); }
    short lastButtonReleased() const { return m_lastButtonReleased; }
    // How many full repaints ran (every state change repaints).
    int refreshCount() const { return m_refreshCount; }

  signals:
    void Click();
    void MouseEnter();
    void MouseLeave();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

  private slots:
    // Queued by the accessible Press action.
    void accessiblePress();

  private:
    friend class BeveloAccessible;

    void initProperties();
    void notify(const char* property);
    // Resize routine: minimum size, rectangles, caption format, region, repaint.
    void reshape();
    void leftButtonDown();
    void buttonUp(Qt::MouseButton button);
    void clickAction();
    void accessKey();
    void updateMnemonic();
    void applyMousePointer(short value);
    void releaseToggleLook();
    void drawSurface();
    bool drawsEnabled() const;
    void captionChanged();
    // Tooltip wiring: build on entry or a new text, remove on leave.
    void buildToolTip();
    void removeToolTip();
    void giveSiteItsToolTip();
    void startWatchingMouse();

    BeveloHost* m_host;
    BeveloProperties m_props;
    BeveloRuntime m_rt;
    QImage m_surface;
    bool m_surfaceStale = true;  // a Refresh ran since the surface was drawn
    short m_mousePointer = 0;
    short m_lastButtonReleased = 0;
    bool m_subclassed = false;
    bool m_leftPressInside = false;  // a left press whose release may complete a click
    bool m_spaceDown = false;        // space went down here and is not released yet
    int m_mnemonicId = 0;
    QKeySequence m_mnemonicKey;
    int m_refreshCount = 0;
    std::unique_ptr<BeveloToolTip> m_toolTip;
    QPointer<BeveloAboutPanel> m_about;
};
