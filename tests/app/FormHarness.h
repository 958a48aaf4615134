// A MainForm on real ptys with a prompter that records instead of blocking.
#pragma once

#include <QStringList>
#include <QTest>
#include <functional>
#include <memory>

#include "app/MainForm.h"
#include "tests/support/qt/WindowControls.h"
#include "widgets/Bevelo.h"

struct PromptLog {
    struct Shown {
        QString title;
        QString text;
        bool critical;
        QString informativeText;
    };
    std::vector<Shown> shown;
    // Runs while a prompt is "open", like the nested event loop of a modal box.
    std::function<void()> whileShown;
};

class RecordingPrompter : public Prompter {
  public:
    explicit RecordingPrompter(std::shared_ptr<PromptLog> log) : m_log(std::move(log)) {}
    void critical(QWidget*, const QString& title, const QString& text,
                  const QString& informativeText) override {
        record(title, text, true, informativeText);
    }
    void information(QWidget*, const QString& title, const QString& text) override {
        record(title, text, false, QString());
    }

  private:
    void record(const QString& title, const QString& text, bool critical,
                const QString& informativeText) {
        m_log->shown.push_back({title, text, critical, informativeText});
        if (m_log->whileShown) m_log->whileShown();
    }
    std::shared_ptr<PromptLog> m_log;
};

struct FormHarness {
    // `portMap` becomes METERBENCH_PORTS before the window is built.
    explicit FormHarness(const QString& portMap) {
        qputenv("METERBENCH_PORTS", portMap.toLocal8Bit());
        form = std::make_unique<MainForm>();
        form->setPrompter(std::make_unique<RecordingPrompter>(prompts));
        form->show();
    }
    Bevelo* button(const char* name) const { return form->button(QString::fromLatin1(name)); }
    QString caption(const char* name) const { return button(name)->Caption(); }
    void click(const char* name) const {
        Bevelo* b = button(name);
        QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, b->rect().center());
    }
    WindowControls c() const { return WindowControls(form.get()); }
    QStringList portList() const {
        QStringList items;
        for (int i = 0; i < c().Combo1->count(); ++i) items << c().Combo1->itemText(i);
        return items;
    }
    bool combosEnabled() const {
        return c().Combo1->isEnabled() && c().Combo2->isEnabled() && c().Combo3->isEnabled() &&
               c().Combo4->isEnabled() && c().Combo5->isEnabled();
    }
    bool combosDisabled() const {
        return !c().Combo1->isEnabled() && !c().Combo2->isEnabled() && !c().Combo3->isEnabled() &&
               !c().Combo4->isEnabled() && !c().Combo5->isEnabled();
    }

    std::shared_ptr<PromptLog> prompts = std::make_shared<PromptLog>();
    std::unique_ptr<MainForm> form;
};
