#include "telvora/shell/frm_working.h"

#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace telvora {

frmWorking::frmWorking(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::CustomizeWindowHint),
      m_label(new QLabel(this)),
      m_bar(new QProgressBar(this)),
      m_cancel(new QPushButton(this)) {
    setObjectName(QStringLiteral("frmWorking"));
    setWindowTitle(QStringLiteral("Telvora SMS"));
    m_label->setObjectName(QStringLiteral("Label1"));
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setMinimumWidth(220);
    m_bar->setObjectName(QStringLiteral("ProgressBar1"));
    m_bar->setTextVisible(false);  // the label says "2/3" already
    m_bar->hide();
    m_cancel->setObjectName(QStringLiteral("cmbCancel"));
    m_cancel->hide();
    connect(m_cancel, &QPushButton::clicked, this, &frmWorking::cancelRequested);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->addWidget(m_label);
    layout->addWidget(m_bar);
    layout->addWidget(m_cancel, 0, Qt::AlignHCenter);
}

void frmWorking::setCancelCaption(const QString& caption) {
    m_cancel->setText(caption);
}

void frmWorking::showText(const QString& text) {
    showProgress(text, false, 0, 0);
}

void frmWorking::showProgress(const QString& text, bool cancellable, int done, int total) {
    m_label->setText(text);
    m_bar->setVisible(total > 0);
    if (total > 0) {
        m_bar->setRange(0, total);
        m_bar->setValue(std::clamp(done, 0, total));
    }
    m_cancel->setVisible(cancellable);
    m_cancel->setEnabled(cancellable);
    show();
    raise();
    if (cancellable) {
        // Escape and Enter reach Cancel without the mouse.
        activateWindow();
        m_cancel->setFocus();
    }
}

void frmWorking::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && m_cancel->isVisible()) {
        m_cancel->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace telvora
