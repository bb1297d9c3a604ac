#pragma once
// frmWorking: the small progress window that long commands show, not modal,
// with one label (Label1) that the command fills with its own text.

#include <QWidget>

class QLabel;

namespace telvora {

class frmWorking : public QWidget {
    Q_OBJECT
public:
    explicit frmWorking(QWidget* parent = nullptr);

    // Sets the label and shows the window without blocking.
    void showText(const QString& text);
    QLabel* Label1() const { return m_label; }

private:
    QLabel* m_label;
};

}  // namespace telvora
