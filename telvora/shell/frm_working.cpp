#include "telvora/shell/frm_working.h"

#include <QLabel>
#include <QVBoxLayout>

namespace telvora {

frmWorking::frmWorking(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::CustomizeWindowHint),
      m_label(new QLabel(this)) {
    setObjectName(QStringLiteral("frmWorking"));
    setWindowTitle(QStringLiteral("Telvora SMS"));
    m_label->setObjectName(QStringLiteral("Label1"));
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setMinimumWidth(220);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->addWidget(m_label);
}

void frmWorking::showText(const QString& text) {
    m_label->setText(text);
    show();
    raise();
}

}  // namespace telvora
