#include "vervia/ui/main_form.h"

#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>
#include <algorithm>

#include "vervia/engine/conjugator.h"
#include "vervia/engine/evaluation.h"
#include "vervia/engine/irregular_verb_table.h"
#include "vervia/engine/text_encoding.h"
#include "vervia/practice/progress_location.h"
#include "vervia/ui/link_opener.h"
#include "vervia/ui/more_tenses_page.h"
#include "vervia/ui/practice_page.h"
#include "vervia/ui/verb_lists.h"

namespace vervia {
namespace {

constexpr int kClientWidth = 391;
constexpr int kClientHeight = 409;
// Sizes at the default font of 11 pixels (8 pt at 96 dpi); they grow with
// the font.
constexpr int kFontPixels = 11;
constexpr double kDesignDpi = 96.0;
constexpr int kFieldPadding = 5;  // above and below the text of a field
constexpr int kPersonWidth = 74;
// Long forms each result field holds uncut, and the room a field needs
// beside its text (frame and margins).
constexpr char kLongTenseForm[] = "nos estamos levantando";
constexpr char kLongPersonForm[] = "nos levantaríamos";
constexpr char kLongNonFiniteForm[] = "levantándose";
constexpr int kFieldTextRoom = 8;
constexpr int kTenseGroupWidth = 116;
constexpr int kInnerTabWidth = 94;
constexpr int kListColumnGap = 14;
constexpr int kTenseCodes[] = {kPreterite, kPresentPerfect, kPresent, kProgressive, kFuture};
const QColor kTitleBlue(0, 0, 192);

const char* const kPersons[] = {"Yo", "Tu", "El/Ella", "Nosotros", "Vosotros", "Ellos/Ellas"};

const char* const kAboutLines[] = {
    "Program je určen všem zájemcům o studium ",
    "španělštiny, zejména žákům jazykových škol a samoukům.",
    "Jeho cílem je pomoci při studiu a ",
    "usnadnit práci při překladu do španělského jazyka.",
    "Je vhodný pro procvičování časování sloves a ",
    "určování rozkazovacího a podmiňovacího způsobu.",
    "Program obsahuje databázi více než 200 ",
    "nejpoužívanějších nepravidelných sloves.",
    "",
    "Kolektiv autorů připravuje rozšíření programu o další ",
    "části mluvnice a v blízké době chystá vydání ",
    "mluvnice anglického jazyka.",
};

// Tabs of one fixed width, whatever their captions.
class FixedWidthTabBar : public QTabBar {
public:
    explicit FixedWidthTabBar(int width) : m_width(width) {}

protected:
    QSize tabSizeHint(int index) const override {
        QSize size = QTabBar::tabSizeHint(index);
        size.setWidth(m_width);
        return size;
    }

private:
    int m_width;
};

class FixedWidthTabWidget : public QTabWidget {
public:
    explicit FixedWidthTabWidget(int tabWidth) { setTabBar(new FixedWidthTabBar(tabWidth)); }
};

// The height of a field: one line of text with a little room; never less
// than the style needs for its frame.
int FieldHeight(const QFont& font) {
    return QFontMetrics(font).height() + kFieldPadding;
}

QLineEdit* NewField(QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setTextMargins(1, 0, 1, 0);
    return field;
}

// A white, editable field that shows one form.
QLineEdit* NewResultField(QWidget* parent) {
    QLineEdit* field = NewField(parent);
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    field->setPalette(palette);
    return field;
}

// A grey, read-only field with fixed text; Tab passes it by.
QLineEdit* NewFixedField(const QString& text, QWidget* parent) {
    QLineEdit* field = NewField(parent);
    field->setText(text);
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::ClickFocus);
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window).darker(106));
    field->setPalette(palette);
    return field;
}

QLabel* NewLabel(const QString& text, QWidget* parent, bool bold = false) {
    auto* label = new QLabel(text, parent);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    return label;
}

void MakeBlue(QLabel* label, int pixelSize) {
    QFont font = label->font();
    font.setBold(true);
    if (pixelSize > 0) {
        font.setPixelSize(pixelSize);
    }
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, kTitleBlue);
    label->setPalette(palette);
}

// The Spanish flag shown beside the verb box and as the window icon.
QPixmap FlagPixmap() {
    QPixmap pixmap(24, 16);
    QPainter painter(&pixmap);
    painter.fillRect(0, 0, 24, 16, QColor(170, 21, 27));
    painter.fillRect(0, 4, 24, 8, QColor(241, 191, 0));
    painter.setPen(QColor(90, 90, 90));
    painter.drawRect(0, 0, 23, 15);
    return pixmap;
}

// A small globe standing for the web address.
QPixmap GlobePixmap() {
    QPixmap pixmap(20, 20);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(210, 225, 255));
    painter.setPen(QPen(kTitleBlue, 1.2));
    const QRectF globe(1.5, 1.5, 17, 17);
    painter.drawEllipse(globe);
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QRectF(6, 1.5, 8, 17));
    painter.drawLine(QPointF(10, 1.5), QPointF(10, 18.5));
    painter.drawLine(QPointF(1.5, 10), QPointF(18.5, 10));
    painter.drawLine(QPointF(3.5, 5.8), QPointF(16.5, 5.8));
    painter.drawLine(QPointF(3.5, 14.2), QPointF(16.5, 14.2));
    return pixmap;
}

}  // namespace

TMainForm::TMainForm(LinkOpener* linkOpener, QWidget* parent, double fontScale)
    : QWidget(parent),
      m_fontScale(fontScale > 0 ? fontScale : 1.0),
      m_collator(VerbCollator()),
      m_linkOpener(linkOpener) {
    if (m_linkOpener == nullptr) {
        m_ownLinkOpener = std::make_unique<DesktopLinkOpener>();
        m_linkOpener = m_ownLinkOpener.get();
    }
    SetupWindow();
    CreateControls();
    FitToFont();
    m_shownFields = {Edit14, Edit15, Edit8,  Edit9,  Edit10, Edit11, Edit12, Edit13, Edit22, Edit23,
                     Edit24, Edit25, Edit26, Edit27, Edit28, Edit29, Edit30, Edit31, Edit32};
    SetupTabOrder();
    ConnectHandlers();
    FormCreate();
}

TMainForm::~TMainForm() = default;

void TMainForm::SetupWindow() {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral(" Gramarion"));
    setWindowIcon(QIcon(FlagPixmap()));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    // 8 pt at the screen's font resolution, times the user's font scale.
    QFont windowFont = font();
    const double dpi = logicalDpiY() > 0 ? logicalDpiY() : kDesignDpi;
    windowFont.setPixelSize(qRound(kFontPixels * m_fontScale * dpi / kDesignDpi));
    setFont(windowFont);
    m_scale = windowFont.pixelSize() / double(kFontPixels);
}

int TMainForm::Scaled(int pixels) const {
    return qRound(pixels * m_scale);
}

void TMainForm::FitToFont() {
    // Every field one text line high in its own font (bold fields too).
    for (QLineEdit* field : findChildren<QLineEdit*>()) {
        if (field != ComboBox1->lineEdit()) {
            field->setFixedHeight(FieldHeight(field->font()));
        }
    }
    // Result fields wide enough for long reflexive forms, shown in bold.
    QFont bold = font();
    bold.setBold(true);
    const QFontMetrics boldMetrics(bold);
    auto holdText = [&](QLineEdit* field, const char* sample) {
        field->setMinimumWidth(boldMetrics.horizontalAdvance(QString::fromUtf8(sample)) +
                               Scaled(kFieldTextRoom));
    };
    for (QLineEdit* field : m_tenseFields) {
        holdText(field, kLongTenseForm);
    }
    for (QLineEdit* field : m_imperativeFields) {
        holdText(field, kLongPersonForm);
    }
    for (QLineEdit* field : m_conditionalFields) {
        holdText(field, kLongPersonForm);
    }
    holdText(Edit14, kLongNonFiniteForm);
    holdText(Edit15, kLongNonFiniteForm);
    // The window keeps its size unless a larger font needs more room.
    layout()->activate();
    setFixedSize(QSize(kClientWidth, kClientHeight).expandedTo(minimumSizeHint()));
    if (const QScreen* shown = screen()) {
        move(shown->availableGeometry().center() - rect().center());
    }
}

void TMainForm::CreateControls() {
    PageControl1 = new QTabWidget(this);
    PageControl1->addTab(CreateVerbsPage(), QStringLiteral("Slovesa"));
    PageControl1->addTab(new PracticePage(practice::DefaultProgressFile()),
                         QStringLiteral("Procvičování"));
    PageControl1->addTab(CreateAboutPage(), QStringLiteral("O aplikaci"));
    PageControl1->setCurrentIndex(0);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->addWidget(PageControl1);
}

QWidget* TMainForm::CreateVerbsPage() {
    auto* page = new QWidget;
    auto* flag = new QLabel(page);
    flag->setPixmap(FlagPixmap());
    Label1 = NewLabel(QStringLiteral("&Sloveso"), page);
    ComboBox1 = new QComboBox(page);
    ComboBox1->setEditable(true);
    // The history is kept by Edit1Change; Qt must neither add entries on
    // Enter nor complete what the user types.
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setCompleter(nullptr);
    ComboBox1->setMaxVisibleItems(12);
    ComboBox1->setFixedWidth(Scaled(160));
    Label1->setBuddy(ComboBox1);
    Label6 = NewLabel(QString(), page, true);

    auto* strip = new QHBoxLayout;
    strip->setContentsMargins(2, 0, 2, 0);
    strip->setSpacing(6);
    strip->addWidget(flag);
    strip->addWidget(Label1);
    strip->addWidget(ComboBox1);
    strip->addSpacing(6);
    strip->addWidget(Label6, 1);

    // Tabs of one width, wide enough for "Nepravidelná" in a larger font.
    const int tabWidth = std::max(
        kInnerTabWidth,
        QFontMetrics(font()).horizontalAdvance(QStringLiteral("Nepravidelná")) + Scaled(20));
    PageControl2 = new FixedWidthTabWidget(tabWidth);
    PageControl2->setTabPosition(QTabWidget::South);
    PageControl2->addTab(CreateConjugationPage(), QStringLiteral("Č&asování"));
    PageControl2->addTab(CreateListPage(), QStringLiteral("&Nepravidelná"));
    TabSheet3 = new MoreTensesPage;
    PageControl2->addTab(TabSheet3, QStringLiteral("&Další časy"));
    PageControl2->setCurrentIndex(0);

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(3, 4, 3, 2);
    layout->setSpacing(3);
    layout->addLayout(strip);
    layout->addWidget(PageControl2, 1);
    return page;
}

QWidget* TMainForm::CreateConjugationPage() {
    auto* page = new QWidget;
    Label9 = NewLabel(QStringLiteral("Oznamovací způsob"), page, true);
    Label7 = NewLabel(QStringLiteral("Nepravidelné tvary jsou označeny tučně"), page);
    Label7->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 2, 6, 1);
    layout->setSpacing(2);
    layout->addWidget(Label9);
    layout->addWidget(CreateIndicativeBlock());
    layout->addSpacing(1);
    layout->addWidget(CreateImperativeBlock());
    layout->addSpacing(1);
    layout->addWidget(CreateNonFiniteBlock());
    layout->addStretch(1);
    layout->addWidget(Label7);
    return page;
}

QWidget* TMainForm::CreateIndicativeBlock() {
    auto* block = new QWidget;
    RadioGroup1 = new QGroupBox(QStringLiteral("  Čas  "), block);
    RadioGroup1->setMinimumWidth(Scaled(kTenseGroupWidth));
    // The shown captions read Minulý, Předpřítomný, Přítomný, Průběhový and
    // Budoucí; '&' marks the Alt key letter.
    const char* const captions[] = {"&Minulý", "Př&edpřítomný", "&Přítomný", "Průběh&ový",
                                    "&Budoucí"};
    auto* buttons = new QVBoxLayout(RadioGroup1);
    buttons->setContentsMargins(8, 0, 4, 1);
    buttons->setSpacing(0);
    for (std::size_t i = 0; i < m_tenseButtons.size(); ++i) {
        m_tenseButtons[i] = new QRadioButton(QString::fromUtf8(captions[i]), RadioGroup1);
        buttons->addWidget(m_tenseButtons[i]);
    }
    RadioButton2 = m_tenseButtons[0];
    RadioButton3 = m_tenseButtons[1];
    RadioButton4 = m_tenseButtons[2];
    RadioButton5 = m_tenseButtons[3];
    RadioButton6 = m_tenseButtons[4];
    RadioButton4->setChecked(true);

    QLineEdit** labels[] = {&Edit2, &Edit3, &Edit4, &Edit5, &Edit6, &Edit7};
    QLineEdit** results[] = {&Edit8, &Edit9, &Edit10, &Edit11, &Edit12, &Edit13};
    auto* rows = new QGridLayout;
    rows->setHorizontalSpacing(3);
    rows->setVerticalSpacing(1);
    for (int person = 0; person < 6; ++person) {
        *labels[person] = NewFixedField(QString::fromUtf8(kPersons[person]), block);
        (*labels[person])->setFixedWidth(Scaled(kPersonWidth));
        *results[person] = NewResultField(block);
        m_tenseFields[person] = *results[person];
        rows->addWidget(*labels[person], person, 0);
        rows->addWidget(*results[person], person, 1);
    }

    auto* layout = new QHBoxLayout(block);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    layout->addWidget(RadioGroup1);
    layout->addLayout(rows, 1);
    return block;
}

QWidget* TMainForm::CreateImperativeBlock() {
    auto* block = new QWidget;
    Label10 = NewLabel(QStringLiteral("Rozkazovací způsob"), block, true);
    Label11 = NewLabel(QStringLiteral("Podmiňovací způsob"), block, true);
    QLineEdit** labels[] = {&Edit1, &Edit16, &Edit17, &Edit18, &Edit19, &Edit20};
    QLineEdit** imperative[] = {&Edit22, &Edit23, &Edit24, &Edit25, &Edit26};
    QLineEdit** conditional[] = {&Edit27, &Edit28, &Edit29, &Edit30, &Edit31, &Edit32};

    auto* grid = new QGridLayout(block);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(3);
    grid->setVerticalSpacing(1);
    grid->addWidget(Label10, 0, 1);
    grid->addWidget(Label11, 0, 2);
    Edit21 = NewFixedField(QStringLiteral("není definován"), block);
    for (int person = 0; person < 6; ++person) {
        *labels[person] = NewFixedField(QString::fromUtf8(kPersons[person]), block);
        (*labels[person])->setFixedWidth(Scaled(kPersonWidth));
        grid->addWidget(*labels[person], person + 1, 0);
        QLineEdit* imperativeField = Edit21;
        if (person > 0) {
            imperativeField = *imperative[person - 1] = NewResultField(block);
            m_imperativeFields[person - 1] = imperativeField;
        }
        grid->addWidget(imperativeField, person + 1, 1);
        *conditional[person] = NewResultField(block);
        m_conditionalFields[person] = *conditional[person];
        grid->addWidget(*conditional[person], person + 1, 2);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);
    return block;
}

QWidget* TMainForm::CreateNonFiniteBlock() {
    auto* block = new QWidget;
    Label2 = NewLabel(QStringLiteral("Příčestí"), block);
    Label3 = NewLabel(QStringLiteral("( participio )"), block);
    Label4 = NewLabel(QStringLiteral("Přechodník"), block);
    Label5 = NewLabel(QStringLiteral("( gerundio )"), block);
    Edit14 = NewResultField(block);
    Edit15 = NewResultField(block);

    auto* layout = new QGridLayout(block);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setHorizontalSpacing(6);
    layout->setVerticalSpacing(0);
    layout->addWidget(Label2, 0, 0);
    layout->addWidget(Label3, 1, 0);
    layout->addWidget(Edit14, 0, 1, 2, 1, Qt::AlignVCenter);
    layout->addItem(new QSpacerItem(8, 1), 0, 2);
    layout->addWidget(Label4, 0, 3);
    layout->addWidget(Label5, 1, 3);
    layout->addWidget(Edit15, 0, 4, 2, 1, Qt::AlignVCenter);
    layout->setColumnMinimumWidth(0, Scaled(kPersonWidth));
    layout->setColumnStretch(1, 1);
    layout->setColumnStretch(4, 1);
    return block;
}

QWidget* TMainForm::CreateListPage() {
    auto* page = new QWidget;
    Label8 = NewLabel(QStringLiteral("Přehled nepravidelných sloves"), page, true);
    ListView1 = new QListWidget(page);
    // A Windows-style list: captions in columns, filled top to bottom and
    // scrolled sideways.
    ListView1->setViewMode(QListView::ListMode);
    ListView1->setFlow(QListView::TopToBottom);
    ListView1->setWrapping(true);
    ListView1->setResizeMode(QListView::Adjust);
    ListView1->setUniformItemSizes(true);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(4);
    layout->addWidget(Label8);
    layout->addWidget(ListView1, 1);
    return page;
}

QWidget* TMainForm::CreateAboutPage() {
    auto* page = new QWidget;
    Label12 = NewLabel(QStringLiteral("Gramarion"), page);
    MakeBlue(Label12, Scaled(30));
    Label13 = NewLabel(QStringLiteral("Slovesa"), page);
    MakeBlue(Label13, Scaled(16));

    QStringList lines;
    for (const char* line : kAboutLines) {
        lines << QString::fromUtf8(line);
    }
    Memo1 = new QTextEdit(page);
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setReadOnly(true);
    Memo1->setFocusPolicy(Qt::NoFocus);
    Memo1->viewport()->setAutoFillBackground(false);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    Memo1->setPlainText(lines.join(QLatin1Char('\n')));
    QTextCursor cursor(Memo1->document());
    cursor.select(QTextCursor::Document);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.mergeBlockFormat(centred);

    AboutLabel = NewLabel(QString::fromLatin1(kWebAddress), page);
    MakeBlue(AboutLabel, 0);
    Image4 = new QLabel(page);
    Image4->setPixmap(GlobePixmap());
    for (QLabel* link : {AboutLabel, Image4}) {
        link->setCursor(Qt::PointingHandCursor);
        link->setToolTip(QString::fromLatin1(kWebAddress));
        link->installEventFilter(this);
    }

    auto* linkRow = new QHBoxLayout;
    linkRow->addStretch(1);
    linkRow->addWidget(Image4);
    linkRow->addWidget(AboutLabel);
    linkRow->addStretch(1);

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(8, 14, 8, 12);
    layout->setSpacing(4);
    layout->addWidget(Label12, 0, Qt::AlignHCenter);
    layout->addWidget(Label13, 0, Qt::AlignHCenter);
    layout->addSpacing(12);
    layout->addWidget(Memo1, 1);
    layout->addLayout(linkRow);
    return page;
}

void TMainForm::SetupTabOrder() {
    QWidget* previous = ComboBox1;
    auto chain = [&previous](QWidget* next) {
        setTabOrder(previous, next);
        previous = next;
    };
    for (QRadioButton* button : m_tenseButtons) {
        chain(button);
    }
    for (QLineEdit* field : m_tenseFields) {
        chain(field);
    }
    for (QLineEdit* field : m_imperativeFields) {
        chain(field);
    }
    for (QLineEdit* field : m_conditionalFields) {
        chain(field);
    }
    chain(Edit14);
    chain(Edit15);
    chain(ListView1);
}

void TMainForm::ConnectHandlers() {
    connect(ComboBox1, &QComboBox::editTextChanged, this, &TMainForm::Edit1Change);
    ComboBox1->installEventFilter(this);
    for (QRadioButton* button : m_tenseButtons) {
        connect(button, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked) {
                ChangeTenseClick();
            }
        });
    }
    connect(ListView1, &QListWidget::itemClicked, this, &TMainForm::ListView1Click);
    connect(ListView1, &QListWidget::itemDoubleClicked, this, &TMainForm::ListView1DblClick);
    ListView1->installEventFilter(this);
}

void TMainForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Restoring a minimized window is a spontaneous show; only a show by the
    // program starts the window.
    if (!event->spontaneous()) {
        FitToFont();  // the style's sizes are final once the window is shown
        FormShow();
    }
}

void TMainForm::closeEvent(QCloseEvent* event) {
    FormClose();
    QWidget::closeEvent(event);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ComboBox1 && event->type() == QEvent::FocusIn) {
        Edit1Change();
    } else if (watched == ListView1 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            ListView1KeyPress(QChar(13));
            return true;
        }
    } else if ((watched == AboutLabel || watched == Image4) &&
               event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            static_cast<QWidget*>(watched)->rect().contains(mouse->position().toPoint())) {
            AboutLabelClick();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TMainForm::FormCreate() {
    ClearForms();
}

void TMainForm::FormShow() {
    ComboBox1->setFocus();
    FillIrregularList();
}

void TMainForm::FormClose() {}

void TMainForm::Edit1Change() {
    const QString typed = ComboBox1->currentText();
    // The engine reads the verb (blanks around it, letter case, a reflexive
    // se, ñ typed as ñ or ň) and gives the forms in the order of the fields.
    const std::string verb = typed.toStdString();
    if (IsInfinitive(ToEngineText(verb)) == 0) {
        ClearForms();
        return;
    }
    AddToHistory(typed.trimmed());
    ReadTense();
    const Evaluation evaluation = EvaluateShown(verb, m_tense);
    ShowRegularity(evaluation.regularity);
    for (std::size_t i = 0; i < evaluation.forms.size(); ++i) {
        const EvaluatedForm& form = evaluation.forms[i];
        ShowForm(m_shownFields[i], form.text, form.sameAsRegular);
    }
    TabSheet3->ShowVerb(verb);
}

void TMainForm::ChangeTenseClick() {
    Edit1Change();
}

void TMainForm::ListView1Click() {
    const QList<QListWidgetItem*> selected = ListView1->selectedItems();
    if (selected.isEmpty()) {
        return;
    }
    {
        // One evaluation follows below; the text change must not start another.
        const QSignalBlocker blocker(ComboBox1);
        ComboBox1->setEditText(selected.first()->text());
    }
    Edit1Change();
}

void TMainForm::ListView1DblClick() {
    ListView1Click();
    PageControl2->setCurrentIndex(0);
}

void TMainForm::ListView1KeyPress(QChar key) {
    if (key == QChar(13)) {
        ListView1Click();
    }
}

void TMainForm::AboutLabelClick() {
    m_linkOpener->Open(AboutLabel->text());
}

void TMainForm::ShowForm(QLineEdit* field, const std::string& output, int result) {
    field->setText(QString::fromStdString(output));
    // Long forms show their beginning.
    field->setCursorPosition(0);
    const bool bold = result == 0;
    if (field->font().bold() != bold) {
        QFont font = field->font();
        font.setBold(bold);
        field->setFont(font);
    }
}

void TMainForm::ClearForms() {
    Label6->clear();
    TabSheet3->ClearForms();
    for (QLineEdit* field : m_tenseFields) {
        field->clear();
    }
    Edit14->clear();
    Edit15->clear();
    for (QLineEdit* field : m_imperativeFields) {
        field->clear();
    }
    for (QLineEdit* field : m_conditionalFields) {
        field->clear();
    }
}

void TMainForm::ShowRegularity(int value) {
    switch (value) {
        case 0:
            Label6->setText(QStringLiteral("nepravidelné"));
            break;
        case 1:
            Label6->setText(QStringLiteral("pravidelné"));
            break;
        case 2:
            Label6->clear();
            break;
    }
}

void TMainForm::ReadTense() {
    for (std::size_t i = 0; i < m_tenseButtons.size(); ++i) {
        if (m_tenseButtons[i]->isChecked()) {
            m_tense = kTenseCodes[i];
        }
    }
}

void TMainForm::FillIrregularList() {
    ListView1->setUpdatesEnabled(false);
    // Filling starts afresh so that a second show cannot double the list.
    ListView1->clear();
    const QFontMetrics metrics(ListView1->font());
    int widest = 0;
    for (const QString& caption : IrregularInfinitivesForDisplay(m_collator)) {
        auto* item = new QListWidgetItem(caption, ListView1);
        item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        widest = std::max(widest, metrics.horizontalAdvance(caption));
    }
    // Every column as wide as the longest caption, so none is cut.
    ListView1->setGridSize(QSize(widest + kListColumnGap, metrics.height() + 4));
    ListView1->setUpdatesEnabled(true);
}

void TMainForm::AddToHistory(const QString& text) {
    QStringList history;
    history.reserve(ComboBox1->count());
    for (int i = 0; i < ComboBox1->count(); ++i) {
        history << ComboBox1->itemText(i);
    }
    const int position = HistoryInsertPosition(history, text, m_collator);
    if (position < 0) {
        return;
    }
    // The history changes, not the text: no second evaluation.
    const QSignalBlocker blocker(ComboBox1);
    ComboBox1->insertItem(position, text);
}

}  // namespace vervia
