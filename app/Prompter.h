// Modal messages of the main window. The window asks through this interface so
// that tests can answer the prompts without a blocking message box.
#pragma once

#include <QString>
#include <optional>

class QWidget;

class Prompter {
  public:
    virtual ~Prompter() = default;
    // A failure: critical icon, one OK button; `informativeText`, when given,
    // says why below the text.
    virtual void critical(QWidget* parent, const QString& title, const QString& text,
                          const QString& informativeText = QString()) = 0;
    // A notice: information icon, one OK button.
    virtual void information(QWidget* parent, const QString& title, const QString& text) = 0;
    // A question before a write: Yes carries it out. A prompter that does not
    // say declines, so nothing is written unasked.
    virtual bool confirm(QWidget* parent, const QString& title, const QString& text) {
        (void)parent, (void)title, (void)text;
        return false;
    }
    // A value for a write (a new address, a day); nullopt when cancelled. A
    // prompter that does not say cancels.
    virtual std::optional<QString> askText(QWidget* parent, const QString& title,
                                           const QString& label, const QString& initial) {
        (void)parent, (void)title, (void)label, (void)initial;
        return std::nullopt;
    }
};

// The default: a modal QMessageBox.
class MessageBoxPrompter : public Prompter {
  public:
    void critical(QWidget* parent, const QString& title, const QString& text,
                  const QString& informativeText = QString()) override;
    void information(QWidget* parent, const QString& title, const QString& text) override;
    bool confirm(QWidget* parent, const QString& title, const QString& text) override;
    std::optional<QString> askText(QWidget* parent, const QString& title, const QString& label,
                                   const QString& initial) override;
};
