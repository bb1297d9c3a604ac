#include "vervia/ui/practice_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSet>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <random>

#include "vervia/practice/answer_judge.h"
#include "vervia/practice/verb_sets.h"

namespace vervia {
namespace {

using namespace vervia::practice;

const QString kAccentLetters = QStringLiteral("áéíóúüñ");
const QColor kRightColour(0, 128, 0);
const QColor kSlipColour(176, 96, 0);
const QColor kWrongColour(192, 0, 0);

// Letters the page's own captions use as accelerators; the tense boxes take
// others.
const QString kReservedMnemonics = QStringLiteral("cdkosz");

// Shows a fixed number of rows of its grid of check boxes and scrolls the
// rest, so that every tense fits in the window at any font size.
class TenseScrollArea : public QScrollArea {
public:
    TenseScrollArea(QWidget* content, int rows, QWidget* parent)
        : QScrollArea(parent), m_rows(rows) {
        setWidget(content);
        setWidgetResizable(true);
        setFrameShape(QFrame::NoFrame);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    }

    QSize sizeHint() const override {
        const auto* grid = qobject_cast<QGridLayout*>(widget()->layout());
        const QSize content = widget()->sizeHint();
        if (grid == nullptr || grid->rowCount() <= m_rows || grid->itemAt(0) == nullptr) {
            return content;
        }
        const QMargins margins = grid->contentsMargins();
        const int rowHeight = grid->itemAt(0)->sizeHint().height();
        const int height = margins.top() + m_rows * rowHeight +
                           (m_rows - 1) * grid->verticalSpacing() + rowHeight / 2;
        return {content.width() + verticalScrollBar()->sizeHint().width(), height};
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

private:
    int m_rows;
};

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// `name` with an accelerator on its first ASCII letter not yet in `used`
// (none when every letter is taken).
QString WithMnemonic(const QString& name, QString& used) {
    QString escaped = name;
    escaped.replace(QLatin1Char('&'), QStringLiteral("&&"));
    for (qsizetype i = 0; i < escaped.size(); ++i) {
        const QChar letter = escaped[i].toLower();
        if (letter >= QLatin1Char('a') && letter <= QLatin1Char('z') && !used.contains(letter)) {
            used += letter;
            return escaped.left(i) + QLatin1Char('&') + escaped.mid(i);
        }
    }
    return escaped;
}

QString Coloured(const QString& html, const QColor& colour) {
    return QStringLiteral("<span style=\"color:%1\">%2</span>").arg(colour.name(), html);
}

// The right form with its accented letters underlined, for an accent slip.
QString WithAccentsMarked(const QString& form) {
    QString html;
    for (const QChar letter : form) {
        const QString escaped = QString(letter).toHtmlEscaped();
        html +=
            IsAccentedLetter(letter.unicode()) ? QStringLiteral("<u>%1</u>").arg(escaped) : escaped;
    }
    return html;
}

}  // namespace

PracticePage::PracticePage(std::filesystem::path progressFile, PracticeClock clock,
                           std::optional<std::uint64_t> seed, QWidget* parent)
    : QWidget(parent), m_store(std::move(progressFile)), m_clock(std::move(clock)), m_seed(seed) {
    m_loadMessage = QString::fromStdString(m_store.load(m_book));
    createControls();
    fitFonts();
    restart();
}

PracticePage::~PracticePage() = default;

void PracticePage::createControls() {
    pages = new QTabWidget(this);
    pages->setTabPosition(QTabWidget::South);
    pages->addTab(createExercisePage(), QStringLiteral("&Cvičení"));
    pages->addTab(createProgressPage(), QStringLiteral("Po&krok"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pages);
}

QWidget* PracticePage::createExercisePage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);

    auto* tenseGroup = new QGroupBox(QStringLiteral("Časy"), page);
    auto* tenseList = new QWidget;
    auto* tenseGrid = new QGridLayout(tenseList);
    tenseGrid->setContentsMargins(0, 0, 0, 0);
    // Three rows in view: the indicative tenses of the conjugation page; the
    // further tenses below them scroll.
    auto* tenseScroll = new TenseScrollArea(tenseList, 3, tenseGroup);
    (new QVBoxLayout(tenseGroup))->addWidget(tenseScroll);
    QString usedMnemonics = kReservedMnemonics;
    const auto tenses = DefaultPracticeTenses();
    for (std::size_t i = 0; i < tenses.size(); ++i) {
        auto* box =
            new QCheckBox(WithMnemonic(FromUtf8(tenses[i].czechName), usedMnemonics), tenseList);
        box->setChecked(i == 0);
        tenseGrid->addWidget(box, int(i / 2), int(i % 2));
        connect(box, &QCheckBox::toggled, this, &PracticePage::restart);
        // A box chosen by its accelerator scrolls into view.
        connect(box, &QCheckBox::toggled, tenseScroll,
                [tenseScroll, box] { tenseScroll->ensureWidgetVisible(box); });
        tenseBoxes.push_back(box);
    }
    layout->addWidget(tenseGroup);

    auto* verbRow = new QHBoxLayout;
    auto* verbLabel = new QLabel(QStringLiteral("&Slovesa:"), page);
    verbSetBox = new QComboBox(page);
    verbSetBox->addItems({QStringLiteral("212 nepravidelných"), QStringLiteral("100 nejčastějších"),
                          QStringLiteral("vlastní seznam")});
    verbLabel->setBuddy(verbSetBox);
    typedVerbsEdit = new QLineEdit(page);
    typedVerbsEdit->setPlaceholderText(QStringLiteral("tener, hablar, levantarse"));
    typedVerbsEdit->setToolTip(QStringLiteral("Slovesa oddělená čárkou; Enter je použije"));
    typedVerbsEdit->setEnabled(false);
    verbRow->addWidget(verbLabel);
    verbRow->addWidget(verbSetBox);
    verbRow->addWidget(typedVerbsEdit, 1);
    layout->addLayout(verbRow);
    connect(verbSetBox, &QComboBox::currentIndexChanged, this, [this](int index) {
        typedVerbsEdit->setEnabled(index == kTypedVerbs);
        if (index == kTypedVerbs) {
            typedVerbsEdit->setFocus();
        }
        restart();
    });
    connect(typedVerbsEdit, &QLineEdit::returnPressed, this, &PracticePage::restart);

    questionLabel = new QLabel(page);
    questionLabel->setWordWrap(true);
    questionLabel->setTextFormat(Qt::PlainText);
    questionLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addSpacing(4);
    layout->addWidget(questionLabel);

    auto* answerRow = new QHBoxLayout;
    auto* answerLabel = new QLabel(QStringLiteral("&Odpověď:"), page);
    answerEdit = new QLineEdit(page);
    answerLabel->setBuddy(answerEdit);
    answerButton = new QPushButton(QStringLiteral("&Zkontrolovat"), page);
    answerButton->setToolTip(QStringLiteral("Enter"));
    answerRow->addWidget(answerLabel);
    answerRow->addWidget(answerEdit, 1);
    answerRow->addWidget(answerButton);
    layout->addLayout(answerRow);
    connect(answerEdit, &QLineEdit::returnPressed, this, &PracticePage::answerReturnPressed);
    connect(answerEdit, &QLineEdit::textEdited, this, &PracticePage::answerEdited);
    connect(answerButton, &QPushButton::clicked, this, &PracticePage::answerReturnPressed);

    auto* accentRow = new QHBoxLayout;
    for (const QChar letter : kAccentLetters) {
        auto* button = new QToolButton(page);
        button->setText(QString(letter));
        button->setToolTip(QStringLiteral("Vloží %1 do odpovědi").arg(letter));
        button->setFocusPolicy(Qt::NoFocus);  // typing goes on in the answer
        connect(button, &QToolButton::clicked, this, [this, letter] { insertAccent(letter); });
        accentRow->addWidget(button);
        accentButtons.push_back(button);
    }
    auto* accentHint = new QLabel(QStringLiteral("nebo a' → á, u\" → ü, n~ → ñ"), page);
    accentHint->setWordWrap(true);  // never wider than the window
    accentRow->addWidget(accentHint, 1);
    layout->addLayout(accentRow);

    verdictLabel = new QLabel(page);
    verdictLabel->setWordWrap(true);
    verdictLabel->setTextFormat(Qt::RichText);
    scoreLabel = new QLabel(page);
    messageLabel = new QLabel(page);
    messageLabel->setWordWrap(true);
    QPalette warning = messageLabel->palette();
    warning.setColor(QPalette::WindowText, kWrongColour);
    messageLabel->setPalette(warning);
    layout->addWidget(verdictLabel);
    layout->addWidget(scoreLabel);
    layout->addStretch(1);
    layout->addWidget(messageLabel);
    if (!m_loadMessage.isEmpty()) {
        showMessage(m_loadMessage);
    }
    return page;
}

QWidget* PracticePage::createProgressPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    progressTable = new QTableWidget(0, 3, page);
    progressTable->setHorizontalHeaderLabels(
        {QStringLiteral("Čas"), QStringLiteral("Zvládnuto"), QStringLiteral("Procvičeno")});
    progressTable->verticalHeader()->hide();
    progressTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    progressTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    progressTable->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    progressTable->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    progressTable->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    auto* note =
        new QLabel(QStringLiteral("Tvary zvolených sloves; zvládnutý tvar byl %1× po sobě správně.")
                       .arg(kMasteredBox),
                   page);
    note->setWordWrap(true);
    layout->addWidget(progressTable, 1);
    layout->addWidget(note);
    return page;
}

std::vector<PracticeTense> PracticePage::chosenTenses() const {
    std::vector<PracticeTense> chosen;
    const auto tenses = DefaultPracticeTenses();
    for (std::size_t i = 0; i < tenses.size(); ++i) {
        if (tenseBoxes[i]->isChecked()) {
            chosen.push_back(tenses[i]);
        }
    }
    return chosen;
}

std::vector<std::string> PracticePage::chosenVerbs() {
    switch (verbSetBox->currentIndex()) {
        case kFrequentVerbs:
            return FrequentVerbSet();
        case kTypedVerbs: {
            const TypedVerbs typed = ParseVerbList(typedVerbsEdit->text().toStdString());
            if (!typed.rejected.empty()) {
                QStringList words;
                for (const std::string& word : typed.rejected) {
                    words << QString::fromStdString(word);
                }
                showMessage(QStringLiteral("Nejsou to španělská slovesa: %1")
                                .arg(words.join(QStringLiteral(", "))));
            }
            return typed.verbs;
        }
        default:
            return IrregularVerbSet();
    }
}

void PracticePage::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        fitFonts();
    }
}

void PracticePage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Coming to the tab, the learner types the answer at once.
    if (answerEdit->isEnabled() && pages->currentIndex() == 0) {
        answerEdit->setFocus();
    }
}

void PracticePage::fitFonts() {
    // The question stands out: bold and a quarter larger than the page's font,
    // which the window may have set in pixels or in points.
    QFont questionFont = font();
    questionFont.setBold(true);
    if (questionFont.pixelSize() > 0) {
        questionFont.setPixelSize(qRound(questionFont.pixelSize() * 1.25));
    } else {
        questionFont.setPointSizeF(questionFont.pointSizeF() * 1.25);
    }
    questionLabel->setFont(questionFont);
    // The style may give headers a font of their own; they follow the page.
    progressTable->horizontalHeader()->setFont(font());
}

void PracticePage::restart() {
    showMessage(m_loadMessage);
    const std::uint64_t seed =
        m_seed ? *m_seed : (std::uint64_t(std::random_device{}()) << 32) ^ std::uint64_t(m_clock());
    m_session =
        std::make_unique<PracticeSession>(chosenTenses(), chosenVerbs(), m_book, m_clock, seed);
    verdictLabel->clear();
    askNext();
    showScore();
    refreshProgress();
}

void PracticePage::askNext() {
    m_judged = false;
    answerEdit->clear();
    answerEdit->setReadOnly(false);
    answerButton->setText(QStringLiteral("&Zkontrolovat"));
    const auto question = m_session->next();
    if (!question) {
        questionLabel->setText(m_session->tenses().empty()
                                   ? QStringLiteral("Zvolte alespoň jeden čas.")
                                   : QStringLiteral("Zvolte slovesa k procvičení."));
        answerEdit->setEnabled(false);
        answerButton->setEnabled(false);
        return;
    }
    answerEdit->setEnabled(true);
    answerButton->setEnabled(true);
    const PracticeTense& tense = *FindTense(m_session->tenses(), question->code);
    questionLabel->setText(QString::fromStdString(QuestionText(*question, tense)));
}

void PracticePage::answerReturnPressed() {
    if (!m_session || !m_session->current()) {
        if (m_judged) {
            askNext();
            verdictLabel->clear();
        }
        return;
    }
    judge();
}

void PracticePage::judge() {
    const Judgement judgement = m_session->answer(answerEdit->text().toStdString());
    const QString form = QString::fromStdString(judgement.rightForm);
    switch (judgement.verdict) {
        case Verdict::kRight:
            verdictLabel->setText(Coloured(QStringLiteral("Správně."), kRightColour));
            break;
        case Verdict::kAccent:
            verdictLabel->setText(Coloured(
                QStringLiteral("Správně až na přízvuk: <b>%1</b>").arg(WithAccentsMarked(form)),
                kSlipColour));
            break;
        case Verdict::kWrong:
            verdictLabel->setText(
                Coloured(QStringLiteral("Špatně. Správně je: <b>%1</b>").arg(form.toHtmlEscaped()),
                         kWrongColour));
            break;
    }
    m_judged = true;
    answerEdit->setReadOnly(true);
    answerButton->setText(QStringLiteral("&Další"));
    if (m_store.canSave()) {
        const std::string problem = m_store.save(m_book);
        if (!problem.empty()) {
            showMessage(QString::fromStdString(problem));
        }
    }
    showScore();
    refreshProgress();
}

void PracticePage::showScore() {
    const Score& score = m_session->score();
    QString text = QStringLiteral("Skóre: %1 správně z %2").arg(score.right).arg(score.answered());
    if (score.accent > 0) {
        text += QStringLiteral(" (%1× jen přízvuk)").arg(score.accent);
    }
    scoreLabel->setText(text);
}

void PracticePage::refreshProgress() {
    const std::vector<PracticeTense> tenses(DefaultPracticeTenses().begin(),
                                            DefaultPracticeTenses().end());
    const auto rows = ProgressByTense(m_book, tenses, m_session->verbs());
    progressTable->setRowCount(int(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int row = int(i);
        const auto cell = [&](int column, const QString& text) {
            auto* item = new QTableWidgetItem(text);
            if (column > 0) {
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            progressTable->setItem(row, column, item);
        };
        cell(0, FromUtf8(tenses[i].czechName));
        cell(1, QStringLiteral("%1 z %2").arg(rows[i].mastered).arg(rows[i].total));
        cell(2, QString::number(rows[i].practised));
    }
}

void PracticePage::insertAccent(const QString& letter) {
    if (!answerEdit->isEnabled() || answerEdit->isReadOnly()) {
        return;
    }
    answerEdit->insert(letter);
    answerEdit->setFocus();
}

void PracticePage::answerEdited(const QString& text) {
    const QString replaced = QString::fromStdString(ApplyAccentShortcuts(text.toStdString()));
    if (replaced == text) {
        return;
    }
    const int cursor = answerEdit->cursorPosition() - int(text.size() - replaced.size());
    answerEdit->setText(replaced);
    answerEdit->setCursorPosition(std::max(0, cursor));
}

void PracticePage::showMessage(const QString& text) {
    messageLabel->setText(text);
    messageLabel->setVisible(!text.isEmpty());
}

}  // namespace vervia
