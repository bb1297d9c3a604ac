#include "telvora/shell/widget_message_boxes.h"

#include <QMessageBox>

namespace telvora {
namespace {

int Run(QWidget* parent, MessageBoxes::Kind kind, const QString& text,
        QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton) {
    const bool error = kind == MessageBoxes::Kind::Error;
    QMessageBox box(error ? QMessageBox::Critical : QMessageBox::Information,
                    error ? QStringLiteral("Error") : QStringLiteral("Info"), text, buttons,
                    parent);
    box.setDefaultButton(defaultButton);
    return box.exec();
}

}  // namespace

void WidgetMessageBoxes::show(Kind kind, const QString& text) {
    Run(m_parent, kind, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool WidgetMessageBoxes::askYesNo(Kind kind, const QString& text) {
    return Run(m_parent, kind, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) ==
           QMessageBox::Yes;
}

bool WidgetMessageBoxes::askOkCancel(Kind kind, const QString& text) {
    return Run(m_parent, kind, text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) ==
           QMessageBox::Ok;
}

}  // namespace telvora
