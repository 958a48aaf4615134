// The request operations of one protocol page, hooked into the main window.
// The window routes the page's buttons and timer ticks here, one event at a
// time; Connect, Disconnect, a lost port and the EN1434 page button call
// stopContinuousReading without a click.
#pragma once

class MainForm;
class PageTimer;
class QLineEdit;

enum class Page { Cj188 = 0, En1434 = 1 };

class PageOperations {
  public:
    PageOperations(MainForm& form, Page page) : m_form(form), m_page(page) {}
    virtual ~PageOperations() = default;

    // "Read Data": Bevelo1 (CJ188) or Bevelo17 (EN1434).
    virtual void readData() {}
    // "Read ID" Bevelo3 (CJ188) or "Modification ID" Bevelo15 (EN1434).
    virtual void secondRequest() {}
    // "Start" of continuous reading: Bevelo11 or Bevelo13.
    virtual void startContinuousReading() {}
    // "Stop": Bevelo12 or Bevelo14. Disables the page's timer and gives the
    // interval field the system window-background colour.
    virtual void stopContinuousReading();
    // A tick of the page's timer (Timer1 or Timer2).
    virtual void tick() { readData(); }

    MainForm& form() const { return m_form; }
    Page page() const { return m_page; }
    PageTimer& timer() const;
    QLineEdit& intervalField() const;

  private:
    MainForm& m_form;
    Page m_page;
};
