#include "app/ReplyTimeoutDialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>

#include "app/ReplyTimeoutSetting.h"

std::optional<ReplyTimeoutChoice> askReplyTimeout(QWidget* parent, std::optional<double> current) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("ReplyTimeoutDialog"));
    dialog.setWindowTitle(QObject::tr("Reply timeout"));
    auto* box = new QDoubleSpinBox(&dialog);
    box->setObjectName(QStringLiteral("replyTimeoutSeconds"));
    box->setAccessibleName(QObject::tr("Reply timeout"));
    box->setDecimals(1);
    box->setSingleStep(0.1);
    // One step below the shortest timeout stands for the default.
    box->setRange(ReplyTimeoutSetting::kMinSeconds - 0.1, ReplyTimeoutSetting::kMaxSeconds);
    box->setSpecialValueText(QObject::tr("Default"));
    box->setSuffix(QObject::tr(" s"));
    box->setValue(current.value_or(box->minimum()));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* form = new QFormLayout(&dialog);
    auto* hint = new QLabel(QObject::tr("How long to wait for a reply. \"Default\": 1 s plus the "
                                        "time the longest frame takes at the line's settings."),
                            &dialog);
    hint->setWordWrap(true);
    form->addRow(hint);
    form->addRow(QObject::tr("Timeout"), box);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    if (box->value() < ReplyTimeoutSetting::kMinSeconds) return ReplyTimeoutChoice{};
    return ReplyTimeoutChoice{box->value()};
}
