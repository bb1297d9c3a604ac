#pragma once
// frmWorking: the small progress window that long commands show, not modal,
// with one label (Label1) that the command fills with its own text, a
// progress bar (ProgressBar1) below it when the command knows how many steps
// it takes, and a Cancel button (cmbCancel) for commands that can be
// cancelled.

#include <QWidget>

#include "telvora/link/command_host.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace telvora {

class frmWorking : public QWidget, public ProgressWindow {
    Q_OBJECT
public:
    explicit frmWorking(QWidget* parent = nullptr);

    // Sets the label and shows the window without blocking, without Cancel.
    void showText(const QString& text);
    QLabel* Label1() const { return m_label; }
    QProgressBar* ProgressBar1() const { return m_bar; }
    QPushButton* cmbCancel() const { return m_cancel; }
    void setCancelCaption(const QString& caption);

    void showProgress(const QString& text, bool cancellable, int done, int total) override;
    void closeProgress() override { close(); }

signals:
    // Cancel was clicked (or Escape pressed) while a command can be cancelled.
    void cancelRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* m_label;
    QProgressBar* m_bar;
    QPushButton* m_cancel;
};

}  // namespace telvora
