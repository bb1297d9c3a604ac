#include "telvora/shell/frm_about.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace telvora {

QString ProductTitle() {
    return QStringLiteral("Telvora SMS ") + QLatin1String(kVersion);
}

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(ProductTitle());
    auto* title = new QLabel(ProductTitle(), this);
    title->setObjectName(QStringLiteral("lblTitle"));
    QFont font = title->font();
    font.setPointSizeF(font.pointSizeF() * 1.5);
    font.setBold(true);
    title->setFont(font);
    auto* about = new QLabel(
        QStringLiteral("SMS, phone book, calls and ring tones of a GSM phone on a serial port."),
        this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->setSpacing(12);
    layout->addWidget(title);
    layout->addWidget(about);
    layout->addWidget(buttons);
    setFixedSize(sizeHint());
}

}  // namespace telvora
