#include "officeeditors.h"

#include "officetexts.h"

using namespace OfficeTexts;

namespace OfficeEditors {

namespace {

constexpr auto kLeft = Qt::AlignLeft | Qt::AlignVCenter;

GridColumn column(const char *field, const char *title, int width, Qt::Alignment alignment = kLeft)
{
    return {QLatin1String(field), QString::fromUtf8(title), width, alignment};
}

EditorField field(const char *label, const char *name, bool required, int width = 0)
{
    return {QString::fromUtf8(label), QLatin1String(name), required ? kStar : QString(), false,
            width};
}

constexpr int kPhoneWidth = 160;

} // namespace

EditorLayout notebook()
{
    EditorLayout l;
    l.objectName = QStringLiteral("notebookWindow");
    l.caption = kNotebookCaption;
    l.width = 560;
    l.height = 520;
    l.table = QStringLiteral("SHMEIWSEIS");
    l.sortText = kNotebookSort;
    l.fields = {{kTitle, QStringLiteral("TITLOS"), kStar, false},
                {kText, QStringLiteral("PERIGRAFH"), kStar, true}};
    l.columns = {column("TITLOS", "Τίτλος", 500)};
    l.printsNotes = true;
    return l;
}

EditorLayout reminders()
{
    EditorLayout l;
    l.objectName = QStringLiteral("remindersWindow");
    l.caption = kRemindersCaption;
    l.width = 480;
    l.height = 480;
    l.table = QStringLiteral("YPENTHIMISEIS");
    l.sortText = kRemindersSort;
    l.fields = {{kDate, QStringLiteral("HMEROMHNIA"), kDateHint, false, 100},
                {kReminderText, QStringLiteral("PERIGRAFH"), QString(), true}};
    l.columns = {column("HMEROMHNIA", "Ημερομηνία", 140, Qt::AlignCenter)};
    l.opensWhenShown = true;
    return l;
}

EditorLayout phoneNumbers()
{
    EditorLayout l;
    l.objectName = QStringLiteral("phoneNumbersWindow");
    l.caption = kPhonesCaption;
    l.width = 780;
    l.height = 560;
    l.table = QStringLiteral("XRHSIMA_THLEFWNA");
    l.sortText = kPhonesSort;
    l.fields = {field("Όνοματεπώνυμο:", "ONOMATEPWNYMO", true),
                field("Διεύθυνση:", "DIEYTHYNSH", true),
                field("Τηλέφωνο 1:", "THLEFWNO_1", true, kPhoneWidth),
                field("Τηλέφωνο 2:", "THLEFWNO_2", false, kPhoneWidth),
                field("Fax:", "FAX", false, kPhoneWidth),
                field("Email:", "EMAIL", false),
                field("Περιγραφή:", "PERIGRAFH", false)};
    l.columns = {column("ONOMATEPWNYMO", "Ονοματεπώνυμο", 160),
                 column("DIEYTHYNSH", "Διεύθυνση", 150),
                 column("THLEFWNO_1", "Τηλέφωνο 1", 90, Qt::AlignCenter),
                 column("THLEFWNO_2", "Τηλέφωνο 2", 90, Qt::AlignCenter),
                 column("FAX", "Fax", 90, Qt::AlignCenter),
                 column("EMAIL", "Email", 130),
                 column("PERIGRAFH", "Περιγραφή", 200)};
    l.resizableColumns = true;
    return l;
}

EditorLayout doctors()
{
    EditorLayout l;
    l.objectName = QStringLiteral("doctorsWindow");
    l.caption = kDoctorsCaption;
    l.width = 740;
    l.height = 520;
    l.table = QStringLiteral("GIATROI_ALLWN_EIDIKOTHTWN");
    l.sortText = kDoctorsSort;
    l.fields = {field("Όνομα:", "ONOMA", true),
                field("Επώνυμο:", "EPWNYMO", true),
                field("Διεύθυνση:", "DIEYTHYNSH", false),
                field("Τηλέφωνο 1:", "THLEFWNO_1", true, kPhoneWidth),
                field("Τηλέφωνο 2:", "THLEFWNO_2", false, kPhoneWidth),
                field("Ειδικότητα:", "EIDIKOTHTA", true)};
    l.columns = {column("ONOMA", "Όνομα", 110),          column("EPWNYMO", "Επώνυμο", 130),
                 column("DIEYTHYNSH", "Διεύθυνση", 170), column("THLEFWNO_1", "Τηλέφωνο 1", 90),
                 column("THLEFWNO_2", "Τηλέφωνο 2", 90), column("EIDIKOTHTA", "Ειδικότητα", 130)};
    l.resizableColumns = true;
    return l;
}

} // namespace OfficeEditors
