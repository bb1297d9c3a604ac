#pragma once
// frmMelodie: the ring-tone window. Four rows of label, melody field and
// upload button (the control arrays lblMelodie, txtMelodie and cmbMelodie,
// elements 1 to 4), an information label and an exit button kept out of
// sight (Escape closes the window). It works under the port lease of the
// menu command that opened it, so no poll touches the port meanwhile.

#include <QDialog>
#include <array>

#include "telvora/ringtone/ring_tones.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace telvora {

class frmMelodie : public QDialog {
    Q_OBJECT
public:
    // Form_Load without its last step: caption and texts. ReadMelodies
    // follows once the window is up.
    frmMelodie(PortLease& lease, RingTones& tones, Language language, QWidget* parent = nullptr);

    // Fills the four fields from the phone. After an answer that is an
    // error, or none, the upload buttons stay disabled.
    void ReadMelodies();
    // Checks melody n (1..4) and writes it to the phone, then reads all back.
    void cmbMelodie_Click(int n);

    QLabel* lblMelodie(int n) const { return m_lblMelodie.at(n - 1); }
    QLineEdit* txtMelodie(int n) const { return m_txtMelodie.at(n - 1); }
    QPushButton* cmbMelodie(int n) const { return m_cmbMelodie.at(n - 1); }
    QLabel* lblinfo() const { return m_lblinfo; }
    QPushButton* cmbexit() const { return m_cmbexit; }

public slots:
    // While the phone is being asked, the window stays open.
    void reject() override;

private:
    // Buttons off and the hourglass on while the phone is asked.
    void setAsking(bool asking);

    PortLease& m_lease;
    RingTones& m_tones;
    std::array<QLabel*, kMelodyCount> m_lblMelodie{};
    std::array<QLineEdit*, kMelodyCount> m_txtMelodie{};
    std::array<QPushButton*, kMelodyCount> m_cmbMelodie{};
    QLabel* m_lblinfo;
    QPushButton* m_cmbexit;
    bool m_asking = false;
    bool m_uploadsOff = false;  // the melodies could not be read
};

}  // namespace telvora
