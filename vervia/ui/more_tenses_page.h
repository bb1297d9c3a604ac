#pragma once
// The "Další časy" page of the trainer's window: the tenses beyond the five
// indicative ones of the conjugation page (the imperfect, the compound
// tenses, the subjunctive and the negative imperative), one chosen by radio
// buttons (the indicative and the subjunctive group and the negative
// imperative), its six persons shown below them, the irregular
// forms in bold. The window hands it every verb it evaluates.

#include <QWidget>
#include <array>
#include <string>

class QEvent;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace vervia {

class MoreTensesPage : public QWidget {
    Q_OBJECT

public:
    explicit MoreTensesPage(QWidget* parent = nullptr);

    // Controls, named in the window's manner. Owned by the widget tree.
    QGroupBox* RadioGroup2;  // Oznamovací způsob
    QGroupBox* RadioGroup3;  // Spojovací způsob
    QRadioButton *RadioButton7, *RadioButton8, *RadioButton9, *RadioButton10;  // 15..18
    QRadioButton *RadioButton11, *RadioButton12, *RadioButton13, *RadioButton14,
        *RadioButton15;           // 20..24
    QRadioButton* RadioButton16;  // 25, below RadioGroup2
    QLabel* Label14;              // the chosen tense's Czech name
    QLabel* Label15;              // its Spanish name
    QLineEdit *Edit33, *Edit34, *Edit35, *Edit36, *Edit37, *Edit38;  // person labels
    QLineEdit *Edit39, *Edit40, *Edit41, *Edit42, *Edit43, *Edit44;  // the six persons
    QLabel* Label16;                                                 // footnote

    // Shows the chosen tense of `verb` (UTF-8, as typed; a valid infinitive).
    void ShowVerb(const std::string& verb);
    // Empties the six result fields.
    void ClearForms();
    // The chosen tense's code (15..18, 20..25).
    int TenseCode() const;

    // Handler of a click on a tense button.
    void ChangeTenseClick();

protected:
    void changeEvent(QEvent* event) override;

private:
    void FitToFont();
    void ShowTenseNames();

    std::array<QRadioButton*, 10> m_tenseButtons{};
    std::array<QLineEdit*, 6> m_personLabels{};
    std::array<QLineEdit*, 6> m_fields{};
    std::string m_verb;  // the last verb shown; empty when none
};

}  // namespace vervia
