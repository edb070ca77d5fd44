#include "recordnavigator.h"

#include "messageservice.h"
#include "recordset.h"
#include "window.h"

#include <QHBoxLayout>
#include <QStyle>
#include <QToolButton>

namespace {

struct ButtonInfo {
    RecordNavigator::Button button;
    const char *name;
    const char *glyph;
    const char *hint;
};

const ButtonInfo kButtons[] = {
    {RecordNavigator::First, "navFirst", "|◀", "Πρώτη εγγραφή"},
    {RecordNavigator::Prior, "navPrior", "◀", "Προηγούμενη εγγραφή"},
    {RecordNavigator::Next, "navNext", "▶", "Επόμενη εγγραφή"},
    {RecordNavigator::Last, "navLast", "▶|", "Τελευταία εγγραφή"},
    {RecordNavigator::Insert, "navInsert", "+", "Νέα εγγραφή"},
    {RecordNavigator::Delete, "navDelete", "−", "Διαγραφή εγγραφής"},
    {RecordNavigator::Edit, "navEdit", "▲", "Διόρθωση εγγραφής"},
    {RecordNavigator::Post, "navPost", "✔", "Καταχώρηση της διόρθωσης"},
    {RecordNavigator::Cancel, "navCancel", "✘", "Ακύρωση της διόρθωσης"},
    {RecordNavigator::Refresh, "navRefresh", "↻", "Ανανέωση των στοιχείων"},
};

} // namespace

RecordNavigator::RecordNavigator(Buttons buttons, QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const ButtonInfo &info : kButtons) {
        if (!buttons.testFlag(info.button))
            continue;
        auto *b = new QToolButton(this);
        b->setObjectName(QLatin1String(info.name));
        b->setText(QString::fromUtf8(info.glyph));
        b->setToolTip(QString::fromUtf8(info.hint));
        b->setAccessibleName(QString::fromUtf8(info.hint));
        b->setFocusPolicy(Qt::NoFocus);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        const Button which = info.button;
        connect(b, &QToolButton::clicked, this, [this, which] { press(which); });
        layout->addWidget(b);
        m_buttons.insert(which, b);
    }
    updateButtons();
}

void RecordNavigator::setRecordSet(RecordSet *records)
{
    for (const auto &link : m_links)
        disconnect(link);
    m_links.clear();
    m_records = records;
    if (records) {
        m_links << connect(records, &RecordSet::reset, this, &RecordNavigator::updateButtons);
        m_links << connect(records, &RecordSet::currentChanged, this,
                           &RecordNavigator::updateButtons);
        m_links << connect(records, &RecordSet::stateChanged, this,
                           &RecordNavigator::updateButtons);
        m_links << connect(records, &RecordSet::rowChanged, this, &RecordNavigator::updateButtons);
    }
    updateButtons();
}

void RecordNavigator::press(Button which)
{
    if (!m_records)
        return;
    QWidget *window = this->window();
    if (which == Delete) {
        if (m_records->currentRow() < 0
            || !Messages::askOkCancel(window, QStringLiteral("Delete record?")))
            return;
    }
    const bool pending = m_records->state() == RecordSet::State::Edit
        || m_records->state() == RecordSet::State::Insert;
    if (which == Post && pending && m_postCheck && !m_postCheck())
        return;
    Kit::guarded(window, [&] {
        switch (which) {
        case First:
            m_records->first();
            break;
        case Prior:
            m_records->prior();
            break;
        case Next:
            m_records->next();
            break;
        case Last:
            m_records->last();
            break;
        case Insert:
            m_records->insert();
            break;
        case Delete:
            m_records->deleteCurrent();
            break;
        case Edit:
            m_records->edit();
            break;
        case Post:
            m_records->post();
            break;
        case Cancel:
            m_records->cancel();
            break;
        case Refresh:
            emit refreshRequested();
            break;
        default:
            break;
        }
    });
    updateButtons();
    emit pressed(which);
}

void RecordNavigator::updateButtons()
{
    const bool open = m_records && m_records->isOpen();
    const bool browsing = open && m_records->state() == RecordSet::State::Browse;
    const bool editing = open && !browsing;
    const bool updatable = open && m_records->isUpdatable();
    const bool hasRow = open && m_records->currentRow() >= 0;
    auto set = [&](Button b, bool on) {
        if (QToolButton *button = m_buttons.value(b))
            button->setEnabled(on);
    };
    set(First, browsing && !m_records->bof());
    set(Prior, browsing && !m_records->bof());
    set(Next, browsing && !m_records->eof());
    set(Last, browsing && !m_records->eof());
    set(Insert, updatable);
    set(Delete, updatable && hasRow);
    set(Edit, updatable && browsing && hasRow);
    set(Post, updatable && editing);
    set(Cancel, updatable && editing);
    set(Refresh, open);
}
