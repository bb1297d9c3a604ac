#pragma once
// The about window: the program's name and version.

#include <QDialog>

#include "telvora/core/version.h"

namespace telvora {
// "Telvora SMS 1.21.21": the product name, one blank, the version.
QString ProductTitle();

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);
};

}  // namespace telvora
