#include "vervia/ui/more_tenses_page.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "vervia/engine/conjugator.h"
#include "vervia/engine/evaluation.h"
#include "vervia/engine/tenses.h"

namespace vervia {
namespace {

// The tense buttons: code and caption ('&' marks the Alt key letter, none of
// S, A, N, D, which the verb box and the page tabs use).
struct TenseButton {
    int code;
    const char* caption;
};
constexpr TenseButton kIndicative[] = {{kImperfect, "&Imperfektum"},
                                       {kPluperfect, "Předminu&lý"},
                                       {kFuturePerfect, "Předbudou&cí"},
                                       {kConditionalPerfect, "Podmiňo&vací minulý"}};
constexpr TenseButton kSubjunctive[] = {{kPresentSubjunctive, "Pří&tomný"},
                                        {kImperfectSubjunctiveRa, "Minulý (-&ra)"},
                                        {kImperfectSubjunctiveSe, "Minulý (-s&e)"},
                                        {kPerfectSubjunctive, "Předpřít&omný"},
                                        {kPluperfectSubjunctive, "Předmin&ulý"}};
constexpr char kNegativeCaption[] = "&Záporný rozkaz";

const char* const kPersons[] = {"Yo", "Tu", "El/Ella", "Nosotros", "Vosotros", "Ellos/Ellas"};
// The longest form a result field holds uncut, in bold.
constexpr char kLongForm[] = "nos hubiéramos levantado";
constexpr int kFieldTextRoom = 8;
constexpr int kPersonLabelWidth = 74;  // at the default font of 11 pixels
constexpr int kDefaultFontPixels = 11;

QLineEdit* NewField(QWidget* parent, bool fixed) {
    auto* field = new QLineEdit(parent);
    field->setTextMargins(1, 0, 1, 0);
    QPalette palette = field->palette();
    if (fixed) {
        // Grey and read-only; Tab passes it by.
        field->setReadOnly(true);
        field->setFocusPolicy(Qt::ClickFocus);
        palette.setColor(QPalette::Base, palette.color(QPalette::Window).darker(106));
    } else {
        palette.setColor(QPalette::Base, Qt::white);
        palette.setColor(QPalette::Text, Qt::black);
    }
    field->setPalette(palette);
    return field;
}

QLabel* NewBoldLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

}  // namespace

MoreTensesPage::MoreTensesPage(QWidget* parent) : QWidget(parent) {
    RadioGroup2 = new QGroupBox(QStringLiteral("Oznamovací způsob"), this);
    RadioGroup3 = new QGroupBox(QStringLiteral("Spojovací způsob"), this);
    std::size_t next = 0;
    auto addButtons = [&](QGroupBox* group, auto& buttons) {
        auto* column = new QVBoxLayout(group);
        column->setContentsMargins(8, 0, 4, 1);
        column->setSpacing(0);
        for (const TenseButton& button : buttons) {
            auto* radio = new QRadioButton(QString::fromUtf8(button.caption), group);
            radio->setProperty("tenseCode", button.code);
            column->addWidget(radio);
            m_tenseButtons[next++] = radio;
        }
    };
    addButtons(RadioGroup2, kIndicative);
    addButtons(RadioGroup3, kSubjunctive);
    // The negative imperative stands alone below the indicative group.
    m_tenseButtons[next] = new QRadioButton(QString::fromUtf8(kNegativeCaption), this);
    m_tenseButtons[next]->setProperty("tenseCode", kNegativeImperative);
    RadioButton7 = m_tenseButtons[0];
    RadioButton8 = m_tenseButtons[1];
    RadioButton9 = m_tenseButtons[2];
    RadioButton10 = m_tenseButtons[3];
    RadioButton11 = m_tenseButtons[4];
    RadioButton12 = m_tenseButtons[5];
    RadioButton13 = m_tenseButtons[6];
    RadioButton14 = m_tenseButtons[7];
    RadioButton15 = m_tenseButtons[8];
    RadioButton16 = m_tenseButtons[9];
    // The buttons of the three groups are one choice.
    auto* choice = new QButtonGroup(this);
    for (QRadioButton* button : m_tenseButtons) {
        choice->addButton(button);
        connect(button, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked) {
                ChangeTenseClick();
            }
        });
    }

    Label14 = NewBoldLabel(this);
    Label15 = new QLabel(this);
    QLineEdit** labels[] = {&Edit33, &Edit34, &Edit35, &Edit36, &Edit37, &Edit38};
    QLineEdit** results[] = {&Edit39, &Edit40, &Edit41, &Edit42, &Edit43, &Edit44};
    auto* rows = new QGridLayout;
    rows->setHorizontalSpacing(3);
    rows->setVerticalSpacing(1);
    rows->addWidget(Label14, 0, 0, 1, 2);
    rows->addWidget(Label15, 1, 0, 1, 2);
    for (int person = 0; person < 6; ++person) {
        *labels[person] = NewField(this, true);
        (*labels[person])->setText(QString::fromUtf8(kPersons[person]));
        *results[person] = NewField(this, false);
        m_personLabels[person] = *labels[person];
        m_fields[person] = *results[person];
        rows->addWidget(*labels[person], person + 2, 0);
        rows->addWidget(*results[person], person + 2, 1);
    }
    rows->setColumnStretch(1, 1);

    // The indicative group and the negative imperative beside the
    // subjunctive group, the chosen tense's persons below them.
    auto* left = new QVBoxLayout;
    left->setSpacing(2);
    left->addWidget(RadioGroup2);
    auto* negative = new QHBoxLayout;
    negative->setContentsMargins(RadioGroup2->contentsMargins().left() + 8, 0, 0, 0);
    negative->addWidget(RadioButton16);
    left->addLayout(negative);
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(RadioGroup3);
    right->addStretch(1);
    auto* groups = new QHBoxLayout;
    groups->setSpacing(6);
    groups->addLayout(left, 1);
    groups->addLayout(right, 1);

    Label16 = new QLabel(QStringLiteral("Nepravidelné tvary jsou označeny tučně"), this);
    Label16->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 1);
    layout->setSpacing(2);
    layout->addLayout(groups);
    layout->addSpacing(2);
    layout->addLayout(rows);
    layout->addStretch(1);
    layout->addWidget(Label16);

    RadioButton11->setChecked(true);  // shows the names of the tense
    FitToFont();
}

int MoreTensesPage::TenseCode() const {
    for (const QRadioButton* button : m_tenseButtons) {
        if (button->isChecked()) {
            return button->property("tenseCode").toInt();
        }
    }
    return 0;
}

void MoreTensesPage::ChangeTenseClick() {
    ShowTenseNames();
    if (m_verb.empty()) {
        ClearForms();
    } else {
        ShowVerb(m_verb);
    }
}

void MoreTensesPage::ShowVerb(const std::string& verb) {
    m_verb = verb;
    const int tense = TenseCode();
    std::array<FormSlot, 6> wanted{};
    for (int person = 1; person <= 6; ++person) {
        wanted[person - 1] = {tense, person};
    }
    Evaluation evaluation;
    Evaluate(verb, wanted.data(), wanted.size(), evaluation);
    if (!evaluation.valid) {
        m_verb.clear();
        ClearForms();
        return;
    }
    const TenseInfo* info = FindTense(tense);
    for (int person = 1; person <= 6; ++person) {
        QLineEdit* field = m_fields[person - 1];
        const EvaluatedForm& form = evaluation.forms[person - 1];
        const bool none = info != nullptr && person < info->firstPerson;
        field->setText(none ? QString::fromUtf8(kNoImperative) : QString::fromStdString(form.text));
        field->setCursorPosition(0);  // long forms show their beginning
        const bool bold = !none && form.sameAsRegular == 0;
        if (field->font().bold() != bold) {
            QFont font = field->font();
            font.setBold(bold);
            field->setFont(font);
        }
    }
}

void MoreTensesPage::ClearForms() {
    m_verb.clear();
    for (QLineEdit* field : m_fields) {
        field->clear();
    }
}

void MoreTensesPage::ShowTenseNames() {
    const TenseInfo* info = FindTense(TenseCode());
    Label14->setText(info != nullptr ? QString::fromUtf8(info->czechName.data(),
                                                         qsizetype(info->czechName.size()))
                                     : QString());
    Label15->setText(info != nullptr
                         ? QStringLiteral("( %1 )").arg(QString::fromUtf8(
                               info->spanishName.data(), qsizetype(info->spanishName.size())))
                         : QString());
}

void MoreTensesPage::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        FitToFont();
    }
}

void MoreTensesPage::FitToFont() {
    const double scale = font().pixelSize() > 0 ? font().pixelSize() / double(kDefaultFontPixels)
                                                : font().pointSizeF() / 8.0;
    QFont bold = font();
    bold.setBold(true);
    const int width = QFontMetrics(bold).horizontalAdvance(QString::fromUtf8(kLongForm)) +
                      qRound(kFieldTextRoom * scale);
    for (QLineEdit* field : m_fields) {
        field->setMinimumWidth(width);
    }
    for (QLineEdit* label : m_personLabels) {
        label->setFixedWidth(qRound(kPersonLabelWidth * scale));
    }
}

}  // namespace vervia
