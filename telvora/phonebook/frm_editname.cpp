#include "telvora/phonebook/frm_editname.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "telvora/phonebook/key_filters.h"

namespace telvora {
namespace {

// Keeps only what the box's filter accepts in text that was pasted or dropped.
void FilterEdits(QLineEdit* box, QString (*filter)(const QString&)) {
    QObject::connect(box, &QLineEdit::textEdited, box, [box, filter](const QString& text) {
        const QString kept = filter(text);
        if (kept != text) {
            const int cursor = box->cursorPosition() - static_cast<int>(text.size() - kept.size());
            box->setText(kept);
            box->setCursorPosition(std::max(0, cursor));
        }
    });
}

}  // namespace

frmeditname::frmeditname(Language language, const QString& name, const QString& number,
                         QWidget* parent)
    : QDialog(parent),
      m_name(new QLineEdit(name, this)),
      m_phone(new QLineEdit(number, this)),
      m_ok(new QPushButton(QStringLiteral("&OK"), this)),
      m_cancel(new QPushButton(QStringLiteral("&Cancel"), this)) {
    setObjectName(QStringLiteral("frmeditname"));
    setWindowTitle(QStringLiteral("Edit "));
    m_name->setObjectName(QStringLiteral("txtname"));
    m_phone->setObjectName(QStringLiteral("txtphone"));
    m_ok->setObjectName(QStringLiteral("cmbOK"));
    m_cancel->setObjectName(QStringLiteral("cmbCancel"));
    m_name->setMaxLength(kMaxNameLength);
    m_phone->setMaxLength(kMaxNumberLength);
    m_name->setMinimumWidth(m_name->fontMetrics().averageCharWidth() * 32);
    m_name->installEventFilter(this);
    m_phone->installEventFilter(this);
    FilterEdits(m_name, &FilterNameText);
    FilterEdits(m_phone, &FilterNumberText);

    auto* nameLabel = new QLabel(UiText(language, 51), this);
    nameLabel->setObjectName(QStringLiteral("Label1"));
    nameLabel->setBuddy(m_name);
    auto* numberLabel = new QLabel(UiText(language, 52), this);
    numberLabel->setObjectName(QStringLiteral("Label2"));
    numberLabel->setBuddy(m_phone);

    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* fields = new QGridLayout;
    fields->addWidget(nameLabel, 0, 0);
    fields->addWidget(m_name, 0, 1);
    fields->addWidget(numberLabel, 1, 0);
    fields->addWidget(m_phone, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
}

QString frmeditname::name() const {
    return m_name->text().trimmed();
}

QString frmeditname::number() const {
    return m_phone->text().trimmed();
}

bool frmeditname::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && (watched == m_name || watched == m_phone)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // Enter and Esc reach the dialog (OK and Cancel); shortcuts and
        // editing keys pass; a typed character must pass the box's filter.
        const QList<uint> typed = key->text().toUcs4();
        if (!typed.isEmpty() && typed.front() >= 32 && !(key->modifiers() & Qt::ControlModifier)) {
            QString rest = m_phone->text();
            qsizetype position = m_phone->cursorPosition();
            if (m_phone->hasSelectedText()) {
                position = m_phone->selectionStart();
                rest.remove(position, m_phone->selectedText().size());
            }
            const bool accept = watched == m_name
                                    ? AcceptNameKey(typed.front())
                                    : AcceptNumberKeyAt(typed.front(), rest, position);
            return !accept;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace telvora
