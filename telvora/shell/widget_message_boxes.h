#pragma once
// The message boxes of the windows: modal QMessageBox dialogs.

#include "telvora/core/message_boxes.h"

class QWidget;

namespace telvora {

// Modal QMessageBox dialogs over `parent`.
class WidgetMessageBoxes : public MessageBoxes {
public:
    explicit WidgetMessageBoxes(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    void show(Kind kind, const QString& text) override;
    bool askYesNo(Kind kind, const QString& text) override;
    bool askOkCancel(Kind kind, const QString& text) override;

private:
    QWidget* m_parent;
};

}  // namespace telvora
