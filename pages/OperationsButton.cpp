#include "pages/OperationsButton.h"

#include <QMenu>
#include <QToolButton>

#include "widgets/Fonts.h"

QToolButton* makeOperationsButton(QWidget* panel, const QString& name, layout::Rect r,
                                  std::vector<Operation> operations) {
    auto* button = new QToolButton(panel);
    const QString caption = QStringLiteral("Operations…");
    button->setText(caption);
    button->setFont(fonts::button());  // as the page's own buttons
    layout::identify(button, name, caption);
    layout::place(button, r);
    button->setPopupMode(QToolButton::InstantPopup);
    auto* menu = new QMenu(button);
    menu->setObjectName(name + QStringLiteral(".menu"));
    for (std::size_t i = 0; i < operations.size(); ++i) {
        const QString actionName = name + QLatin1Char('.') + QString::number(i);
        if (!operations[i].children.empty()) {
            QMenu* sub = menu->addMenu(operations[i].caption);
            sub->setObjectName(actionName + QStringLiteral(".menu"));
            sub->menuAction()->setObjectName(actionName);
            const auto& children = operations[i].children;
            for (std::size_t j = 0; j < children.size(); ++j) {
                QAction* action = sub->addAction(children[j].caption);
                action->setObjectName(actionName + QLatin1Char('.') + QString::number(j));
                QObject::connect(action, &QAction::triggered, button,
                                 [run = children[j].run] { run(); });
            }
            continue;
        }
        QAction* action = menu->addAction(operations[i].caption);
        action->setObjectName(actionName);
        QObject::connect(action, &QAction::triggered, button, [run = operations[i].run] { run(); });
    }
    button->setMenu(menu);
    return button;
}
