#pragma once
// The trainer's practice tab: asks for one form at a time over the tenses and
// the verb set the learner chooses, judges the typed answer on Enter and keeps
// a running score; the learner's progress is kept in a file between sessions
// and shown per tense on an inner "Pokrok" page.
//
// Accents: buttons for á é í ó ú ü ñ insert the letter into the answer, and
// the shortcuts a' e' i' o' u', u" (or u:) and n~ turn into the letter while
// typing.

#include <QWidget>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "vervia/practice/practice_session.h"
#include "vervia/practice/progress_store.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class QTabWidget;
class QTableWidget;

namespace vervia {

class PracticePage : public QWidget {
    Q_OBJECT

public:
    // `progressFile` keeps the learner's progress; `seed` fixes the questions
    // (tests), else every session differs.
    explicit PracticePage(std::filesystem::path progressFile,
                          practice::PracticeClock clock = practice::SystemSeconds,
                          std::optional<std::uint64_t> seed = std::nullopt,
                          QWidget* parent = nullptr);
    ~PracticePage() override;

    // Controls, owned by the widget tree.
    QTabWidget* pages;
    std::vector<QCheckBox*> tenseBoxes;  // one per practised tense, in table order
    QComboBox* verbSetBox;
    QLineEdit* typedVerbsEdit;
    QLabel* questionLabel;
    QLineEdit* answerEdit;
    QPushButton* answerButton;
    std::vector<QToolButton*> accentButtons;
    QLabel* verdictLabel;
    QLabel* scoreLabel;
    QLabel* messageLabel;
    QTableWidget* progressTable;

    // Verb sets in the order of verbSetBox.
    enum VerbSet : int { kIrregularVerbs = 0, kFrequentVerbs = 1, kTypedVerbs = 2 };

    // Starts a new session with the chosen tenses and verbs.
    void restart();
    // Enter in the answer: judges the answer, or after a verdict asks the next question.
    void answerReturnPressed();

    const practice::PracticeSession* session() const { return m_session.get(); }

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    void fitFonts();
    QWidget* createExercisePage();
    QWidget* createProgressPage();
    void askNext();
    void judge();
    void showScore();
    void refreshProgress();
    void insertAccent(const QString& letter);
    void answerEdited(const QString& text);
    void showMessage(const QString& text);
    std::vector<practice::PracticeTense> chosenTenses() const;
    std::vector<std::string> chosenVerbs();

    practice::ProgressStore m_store;
    practice::ReviewBook m_book;
    practice::PracticeClock m_clock;
    std::optional<std::uint64_t> m_seed;
    std::unique_ptr<practice::PracticeSession> m_session;
    bool m_judged = false;  // the verdict on the current question is shown
    QString m_loadMessage;
};

}  // namespace vervia
