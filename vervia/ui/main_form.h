#pragma once
// The trainer's one window: the user types a Spanish infinitive or picks one
// from the list of irregular verbs, chooses a tense, and sees the 19 forms the
// engine builds, the irregular ones in bold.

#include <QCollator>
#include <QWidget>
#include <array>
#include <memory>
#include <string>

class QComboBox;
class QEvent;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QTabWidget;
class QTextEdit;

namespace vervia {

class LinkOpener;
class MoreTensesPage;

// The web address shown and opened on the about page.
inline constexpr char kWebAddress[] = "https://vervia.example.org/";

class TMainForm : public QWidget {
    Q_OBJECT

public:
    // `linkOpener` opens the about page's address; null uses the desktop.
    // `fontScale` enlarges the window's font (1.25, 1.5); the window grows
    // with it where the default size no longer holds every field.
    explicit TMainForm(LinkOpener* linkOpener = nullptr, QWidget* parent = nullptr,
                       double fontScale = 1.0);
    ~TMainForm() override;

    // Controls, named as on the form. Owned by the widget tree.
    QTabWidget* PageControl1;
    QLabel* Label1;
    QComboBox* ComboBox1;
    QLabel* Label6;
    QTabWidget* PageControl2;
    QLabel* Label9;
    QGroupBox* RadioGroup1;
    QRadioButton *RadioButton2, *RadioButton3, *RadioButton4, *RadioButton5, *RadioButton6;
    QLineEdit *Edit2, *Edit3, *Edit4, *Edit5, *Edit6, *Edit7;
    QLineEdit *Edit8, *Edit9, *Edit10, *Edit11, *Edit12, *Edit13;
    QLabel* Label10;
    QLabel* Label11;
    QLineEdit *Edit1, *Edit16, *Edit17, *Edit18, *Edit19, *Edit20;
    QLineEdit* Edit21;
    QLineEdit *Edit22, *Edit23, *Edit24, *Edit25, *Edit26;
    QLineEdit *Edit27, *Edit28, *Edit29, *Edit30, *Edit31, *Edit32;
    QLabel *Label2, *Label3;
    QLineEdit* Edit14;
    QLabel *Label4, *Label5;
    QLineEdit* Edit15;
    QLabel* Label7;
    MoreTensesPage* TabSheet3;  // "Další časy": the tenses beyond the indicative five
    QLabel* Label8;
    QListWidget* ListView1;
    QLabel* Label12;
    QLabel* Label13;
    QTextEdit* Memo1;
    QLabel* AboutLabel;
    QLabel* Image4;

    // Event handlers.
    void FormCreate();
    void FormShow();
    void FormClose();
    void Edit1Change();
    void ChangeTenseClick();
    void ListView1Click();
    void ListView1DblClick();
    void ListView1KeyPress(QChar key);
    void AboutLabelClick();

    // The tense code of the indicative block (10..14; 0 before the first evaluation).
    int TenseCode() const { return m_tense; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowForm(QLineEdit* field, const std::string& output, int result);
    void ClearForms();
    void ShowRegularity(int value);
    void ReadTense();
    void FillIrregularList();

    void AddToHistory(const QString& text);
    void SetupWindow();
    void FitToFont();
    int Scaled(int pixels) const;
    void CreateControls();
    QWidget* CreateVerbsPage();
    QWidget* CreateConjugationPage();
    QWidget* CreateIndicativeBlock();
    QWidget* CreateImperativeBlock();
    QWidget* CreateNonFiniteBlock();
    QWidget* CreateListPage();
    QWidget* CreateAboutPage();
    void SetupTabOrder();
    void ConnectHandlers();

    int m_tense = 0;
    double m_fontScale = 1.0;
    double m_scale = 1.0;  // the window's font size against the default
    bool m_shownOnce = false;
    QCollator m_collator;
    std::unique_ptr<LinkOpener> m_ownLinkOpener;
    LinkOpener* m_linkOpener;
    std::array<QRadioButton*, 5> m_tenseButtons{};
    std::array<QLineEdit*, 6> m_tenseFields{};
    std::array<QLineEdit*, 5> m_imperativeFields{};
    std::array<QLineEdit*, 6> m_conditionalFields{};
    // The result fields in the engine's order of the shown forms.
    std::array<QLineEdit*, 19> m_shownFields{};
};

}  // namespace vervia
