#include "daysheetwindow.h"

#include "appointmenttexts.h"
#include "dberror.h"
#include "fieldbinder.h"
#include "patientwindows.h"
#include "recordnavigator.h"
#include "recordset.h"
#include "reminderqueue.h"
#include "remindercontacts.h"
#include "schema.h"

#include <QAction>
#include <QDebug>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>

namespace {

constexpr int kWidth = 790;
constexpr int kHeight = 689;
constexpr int kRowsPerColumn = 14;
constexpr int kRowHeight = 40;
constexpr int kPanelWidth = 112;
constexpr int kEditWidth = 258;
constexpr int kColumnWidth = 378;
constexpr int kFieldHeight = 30;

// The light background of the slot captions: the colour of an inactive window caption.
const QColor kCaptionColour(215, 228, 242);

const QKeySequence kLinkShortcut(Qt::Key_F4);

// The mark of a linked slot: a small figure of a person, blue; grey and struck through when
// the patient did not come.
QIcon personIcon(bool noShow, bool reminded = false)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor colour = noShow ? QColor(120, 120, 120) : QColor(31, 90, 170);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(QRectF(10, 3, 12, 12));
    QPainterPath body;
    body.moveTo(4, 30);
    body.cubicTo(4, 17, 28, 17, 28, 30);
    body.closeSubpath();
    p.drawPath(body);
    if (noShow) {
        p.setPen(QPen(QColor(200, 0, 0), 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(4, 28, 28, 4);
    }
    if (reminded) {
        // A green dot at the top right: the patient was reminded.
        p.setPen(QPen(Qt::white, 2));
        p.setBrush(QColor(30, 140, 60));
        p.drawEllipse(QRectF(20, 1, 11, 11));
    }
    return QIcon(pixmap);
}

} // namespace

DaySheetWindow::DaySheetWindow(QWidget *parent)
    : DataWindow(parent)
    , m_query(std::make_unique<Query>(m_connection))
{
    setObjectName(QStringLiteral("TForm2a"));
    setUpWindow(AppointmentTexts::daySheetCaption(), kWidth, kHeight);

    m_heading = new QLabel(this);
    m_heading->setObjectName(QStringLiteral("Label83"));
    m_heading->setGeometry(8, 6, kWidth - 16, 40);
    m_heading->setAlignment(Qt::AlignCenter);
    QFont headingFont = m_heading->font();
    headingFont.setPointSize(20);
    headingFont.setBold(true);
    m_heading->setFont(headingFont);
    Kit::setColour(m_heading, QPalette::WindowText, Qt::blue);

    m_scrollBox = new QScrollArea(this);
    m_scrollBox->setObjectName(QStringLiteral("ScrollBox1"));
    m_scrollBox->setGeometry(8, 52, kWidth - 16, kHeight - 52 - 56);
    m_scrollBox->setFocusPolicy(Qt::NoFocus);
    auto *slotsBox = new QWidget;
    slotsBox->setObjectName(QStringLiteral("slotsBox"));
    Kit::paintSkyBlue(slotsBox);
    slotsBox->setFixedSize(2 * kColumnWidth + 14, kRowsPerColumn * kRowHeight + 8);

    QFont slotFont = font();
    slotFont.setBold(true);
    slotFont.setPointSize(slotFont.pointSize() + 1);
    m_binder = new FieldBinder(this);
    const QStringList columns = Schema::slotColumns();
    for (int k = 1; k <= kSlots; ++k) {
        const int column = (k - 1) / kRowsPerColumn;
        const int row = (k - 1) % kRowsPerColumn;
        const int x = 6 + column * (kColumnWidth + 2);
        const int y = 6 + row * kRowHeight;

        auto *panel = new QLabel(Schema::slotCaption(columns.at(k - 1)), slotsBox);
        panel->setObjectName(QStringLiteral("Panel%1").arg(k));
        panel->setGeometry(x, y, kPanelWidth, kFieldHeight);
        panel->setAlignment(Qt::AlignCenter);
        panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
        panel->setAutoFillBackground(true);
        Kit::setColour(panel, QPalette::Window, kCaptionColour);
        panel->setFocusPolicy(Qt::NoFocus);

        auto *edit = new QLineEdit(slotsBox);
        edit->setObjectName(QStringLiteral("DBEdit%1").arg(k));
        edit->setGeometry(x + kPanelWidth + 4, y, kEditWidth, kFieldHeight);
        edit->setFrame(false);
        edit->setFont(slotFont);
        QPalette pal = edit->palette();
        pal.setColor(QPalette::Text, Qt::red);
        pal.setColor(QPalette::Base, Qt::white);
        edit->setPalette(pal);
        panel->setBuddy(edit);
        m_binder->bind(edit, columns.at(k - 1));

        QAction *mark = edit->addAction(personIcon(false), QLineEdit::TrailingPosition);
        mark->setObjectName(QStringLiteral("LinkMark%1").arg(k));
        mark->setVisible(false);
        m_marks[size_t(k - 1)] = mark;
        edit->setContextMenuPolicy(Qt::CustomContextMenu);
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::customContextMenuRequested, this, [this, k, edit](QPoint at) {
            std::unique_ptr<QMenu> menu(createSlotMenu(k));
            menu->exec(edit->mapToGlobal(at));
        });
        connect(mark, &QAction::triggered, this, [this, k, edit] {
            std::unique_ptr<QMenu> menu(createSlotMenu(k));
            menu->exec(edit->mapToGlobal(QPoint(edit->width() - 24, edit->height())));
        });
        // Clearing a slot's text removes its link.
        connect(edit, &QLineEdit::textEdited, this, [this, k](const QString &text) {
            if (text.trimmed().isEmpty() && m_links.erase(k - 1) > 0)
                updateMark(k);
        });

        m_panels[size_t(k - 1)] = panel;
        m_edits[size_t(k - 1)] = edit;
    }
    for (int k = 1; k < kSlots; ++k)
        setTabOrder(m_edits[size_t(k - 1)], m_edits[size_t(k)]);
    m_scrollBox->setWidget(slotsBox);

    m_navigator = new RecordNavigator(RecordNavigator::Post, this);
    m_navigator->setObjectName(QStringLiteral("DBNavigator1"));
    m_navigator->setGeometry(8, kHeight - 44, 48, 34);

    m_exit = addExitButton(QStringLiteral("Button29"));
    m_exit->setGeometry(kWidth - 8 - 100, kHeight - 44, 100, 34);
    m_exit->setFocusPolicy(Qt::NoFocus);
    closesWithWindow({m_query.get()});

    m_binder->setRecordSet(m_query.get());
    m_navigator->setRecordSet(m_query.get());
    // The save button runs the sheet's own save, which writes the links with the row.
    QToolButton *post = saveButton();
    disconnect(post, &QToolButton::clicked, m_navigator, nullptr);
    connect(post, &QToolButton::clicked, this, [this] { Kit::guarded(this, [this] { save(); }); });
    m_edits[0]->setFocus();
    choosePatient = [](QWidget *parent) { return PatientWindows::choosePatient(parent); };
}

DaySheetWindow::~DaySheetWindow()
{
    // The binder and the record bar must not outlive the query they watch.
    m_binder->setRecordSet(nullptr);
    m_navigator->setRecordSet(nullptr);
}

QToolButton *DaySheetWindow::saveButton() const
{
    return m_navigator->button(RecordNavigator::Post);
}

void DaySheetWindow::setUp()
{
    m_heading->setText(DayDateText);
    openConnection();
    reopen(*m_query, DayQueryText);
    const bool hasRow = m_query->currentRow() >= 0;
    for (QLineEdit *edit : m_edits)
        edit->setReadOnly(!hasRow);
    m_day = hasRow ? QDate::fromString(
                         m_query->fieldValue(QStringLiteral("HMEROMHNIA")).toString().left(10),
                         Qt::ISODate)
                   : QDate::fromString(DayDateText, QStringLiteral("d/M/yyyy"));
    if (hasRow)
        readLinks();
}

void DaySheetWindow::readLinks()
{
    m_links = AppointmentLinks::readDay(m_connection, m_day);
    const QList<int> reminded = Reminders::remindedSlots(m_connection, m_day);
    m_reminded = QSet<int>(reminded.begin(), reminded.end());
    m_names.clear();
    QStringList ids;
    for (const auto &[slot, link] : m_links)
        ids << QString::number(link.patientId);
    if (!ids.isEmpty()) {
        Query names(m_connection);
        names.setSql(QStringLiteral("SELECT ID, EPWNYMO, ONOMA FROM STOIXEIA_PELATH WHERE ID IN (")
                     + ids.join(QLatin1Char(',')) + QLatin1Char(')'));
        names.open();
        for (int r = 0; r < names.rowCount(); ++r)
            m_names.insert(names.value(r, 0).toLongLong(),
                           (names.text(r, 1).trimmed() + QLatin1Char(' ') + names.text(r, 2).trimmed())
                               .trimmed());
    }
    for (int k = 1; k <= kSlots; ++k)
        updateMark(k);
}

bool DaySheetWindow::canEdit() const
{
    return m_query->isOpen() && m_query->currentRow() >= 0;
}

QString DaySheetWindow::patientName(qint64 id) const
{
    const auto found = m_names.constFind(id);
    return found != m_names.constEnd() ? *found : AppointmentTexts::patientGone(id);
}

void DaySheetWindow::updateMark(int slot)
{
    QAction *mark = m_marks.at(size_t(slot - 1));
    const auto link = m_links.find(slot - 1);
    if (link == m_links.end()) {
        mark->setVisible(false);
        mark->setToolTip(QString());
        return;
    }
    const bool reminded = m_reminded.contains(slot - 1);
    mark->setIcon(personIcon(link->second.noShow, reminded));
    QString tip = AppointmentTexts::linkedTo(patientName(link->second.patientId));
    if (reminded)
        tip += QLatin1Char('\n') + AppointmentTexts::reminded();
    if (link->second.noShow)
        tip += QLatin1Char('\n') + AppointmentTexts::noShow();
    mark->setToolTip(tip);
    mark->setVisible(true);
}

void DaySheetWindow::linkSlot(int slot)
{
    if (slot < 1 || slot > kSlots || !canEdit() || !choosePatient)
        return;
    const std::optional<PatientContext> chosen = choosePatient(this);
    if (!chosen)
        return;
    bool ok = false;
    const qint64 id = chosen->id.trimmed().toLongLong(&ok);
    if (!ok || id <= 0)
        return;
    Kit::guarded(this, [&] {
        QLineEdit *edit = m_edits.at(size_t(slot - 1));
        const QString column = Schema::slotColumns().at(slot - 1);
        const QString text = AppointmentLinks::textAfterLinking(
            m_query->fieldText(column), chosen->surname, chosen->firstName, edit->maxLength());
        if (text != m_query->fieldText(column))
            m_query->setFieldValue(column, text);
        else
            m_query->edit();
        m_names.insert(id, (chosen->surname.trimmed() + QLatin1Char(' ')
                            + chosen->firstName.trimmed())
                               .trimmed());
        m_links[slot - 1] = AppointmentLinks::Link {id, false};
        updateMark(slot);
    });
}

void DaySheetWindow::unlinkSlot(int slot)
{
    if (!canEdit() || m_links.find(slot - 1) == m_links.end())
        return;
    Kit::guarded(this, [&] {
        m_query->edit();
        m_links.erase(slot - 1);
        updateMark(slot);
    });
}

void DaySheetWindow::setNoShow(int slot, bool noShow)
{
    const auto link = m_links.find(slot - 1);
    if (!canEdit() || link == m_links.end() || link->second.noShow == noShow)
        return;
    if (noShow && !AppointmentLinks::mayMarkNoShow(m_day, slot - 1, now()))
        return;
    Kit::guarded(this, [&] {
        m_query->edit();
        link->second.noShow = noShow;
        updateMark(slot);
    });
}

QMenu *DaySheetWindow::createSlotMenu(int slot)
{
    QLineEdit *edit = m_edits.at(size_t(slot - 1));
    QMenu *menu = edit->createStandardContextMenu();
    menu->setObjectName(QStringLiteral("SlotMenu%1").arg(slot));
    menu->addSeparator();
    const bool linked = m_links.find(slot - 1) != m_links.end();
    const bool editable = canEdit();

    QAction *link = menu->addAction(AppointmentTexts::linkPatient());
    link->setObjectName(QStringLiteral("actLinkPatient"));
    link->setShortcut(kLinkShortcut);
    link->setShortcutContext(Qt::WidgetShortcut);
    link->setEnabled(editable);
    connect(link, &QAction::triggered, this, [this, slot] { linkSlot(slot); });

    QAction *unlink = menu->addAction(AppointmentTexts::unlinkPatient());
    unlink->setObjectName(QStringLiteral("actUnlinkPatient"));
    unlink->setEnabled(editable && linked);
    connect(unlink, &QAction::triggered, this, [this, slot] { unlinkSlot(slot); });

    QAction *noShow = menu->addAction(AppointmentTexts::noShow());
    noShow->setObjectName(QStringLiteral("actNoShow"));
    noShow->setCheckable(true);
    noShow->setChecked(linked && m_links.at(slot - 1).noShow);
    // Unmarking is always possible; marking only once the slot's time has begun.
    noShow->setEnabled(editable && linked
                       && (noShow->isChecked()
                           || AppointmentLinks::mayMarkNoShow(m_day, slot - 1, now())));
    connect(noShow, &QAction::toggled, this, [this, slot](bool on) { setNoShow(slot, on); });
    return menu;
}

bool DaySheetWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (QKeySequence(key->keyCombination()) == kLinkShortcut) {
            for (int k = 1; k <= kSlots; ++k)
                if (m_edits.at(size_t(k - 1)) == watched) {
                    linkSlot(k);
                    return true;
                }
        }
    }
    return DataWindow::eventFilter(watched, event);
}

void DaySheetWindow::save()
{
    const QStringList columns = Schema::slotColumns();
    QStringList typed;
    for (const QString &column : columns)
        typed << m_query->fieldText(column);
    const AppointmentLinks::DayLinks links = AppointmentLinks::withoutClearedSlots(m_links, typed);
    try {
        Transaction transaction(m_connection);
        m_query->post();
        AppointmentLinks::writeDay(m_connection, m_day, links);
        transaction.commit();
    } catch (const DbError &) {
        // Nothing of the save was kept. A row that the record set already shows as saved is
        // read again and the typed texts put back, so that the same press can save them.
        if (m_query->state() == RecordSet::State::Browse) {
            try {
                m_query->close();
                m_query->open();
                for (int i = 0; i < columns.size(); ++i)
                    if (m_query->fieldText(columns.at(i)) != typed.at(i))
                        m_query->setFieldValue(columns.at(i), typed.at(i));
                m_query->edit();
            } catch (const DbError &) {
                // The database is out of reach: what the fields show is what was typed.
            }
        }
        throw;
    }
    m_links = links;
    queueReminders();
    for (int k = 1; k <= kSlots; ++k)
        updateMark(k);
}

void DaySheetWindow::queueReminders()
{
    // The reminders follow the saved links at once: those now owed are queued, those of slots
    // cleared, moved or given to another patient are dropped. The sending run does the same
    // before it sends, so a failure here loses nothing, and it never stands in the way of the
    // book: the sheet is saved either way.
    try {
        Reminders::ensureTables(m_connection);
        Transaction transaction(m_connection);
        Reminders::reconcile(m_connection);
        transaction.commit();
        const QList<int> reminded = Reminders::remindedSlots(m_connection, m_day);
        m_reminded = QSet<int>(reminded.begin(), reminded.end());
    } catch (const DbError &e) {
        qWarning().noquote() << "reminders not brought up to date:" << e.message();
    }
}

void DaySheetWindow::Button29Click()
{
    done(QDialog::Rejected);
}
