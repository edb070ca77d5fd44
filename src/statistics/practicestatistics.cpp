#include "practicestatistics.h"

#include "connection.h"
#include "dberror.h"
#include "recordset.h"
#include "schema.h"
#include "sqltext.h"
#include "statisticssql.h"

namespace {

// A stored amount as an exact decimal; null (a receipt without an amount) counts as nothing.
Decimal amount(const RecordSet &rows, int row, int column)
{
    return Decimal::fromVariant(rows.value(row, column)).value_or(Decimal());
}

int requireField(const RecordSet &rows, const char *name)
{
    const int i = rows.fieldIndex(QLatin1String(name));
    if (i < 0)
        throw DbError(QStringLiteral("Item cannot be found in the collection corresponding to "
                                     "the requested name or ordinal: %1")
                          .arg(QLatin1String(name)));
    return i;
}

QString literal(const QDate &date)
{
    return SqlText::ToSqlDate(date.toString(QStringLiteral("d/M/yyyy")));
}

} // namespace

MonthFigures &MonthFigures::operator+=(const MonthFigures &other)
{
    income = income + other.income;
    incomeVat = incomeVat + other.incomeVat;
    expenses = expenses + other.expenses;
    expensesVat = expensesVat + other.expensesVat;
    visits += other.visits;
    newPatients += other.newPatients;
    linkedSlots += other.linkedSlots;
    noShows += other.noShows;
    return *this;
}

PracticeStatistics::PracticeStatistics(int year, int endMonth)
    : m_year(year)
    , m_endMonth(endMonth >= 1 && endMonth <= 12 ? endMonth : 12)
{
}

QDate PracticeStatistics::monthStart(Period period, int i) const
{
    const QDate end(m_year, m_endMonth, 1);
    return end.addMonths(i - 11 - (period == Previous ? 12 : 0));
}

QDate PracticeStatistics::periodEnd(Period period) const
{
    return monthStart(period, 11).addMonths(1).addDays(-1);
}

QString PracticeStatistics::periodName(Period period) const
{
    const QDate from = periodStart(period);
    const QDate to = periodEnd(period);
    if (from.month() == 1)
        return QString::number(from.year());
    return QStringLiteral("%1/%2 - %3/%4")
        .arg(from.month())
        .arg(from.year())
        .arg(to.month())
        .arg(to.year());
}

QString PracticeStatistics::fromLiteral() const
{
    return literal(periodStart(Previous));
}

QString PracticeStatistics::toLiteral() const
{
    return literal(periodEnd(Current));
}

int PracticeStatistics::slot(int year, int month) const
{
    const QDate first = periodStart(Previous);
    const int i = (year - first.year()) * 12 + (month - first.month());
    return i >= 0 && i < 24 && month >= 1 && month <= 12 ? i : -1;
}

const MonthFigures &PracticeStatistics::month(Period period, int i) const
{
    return m_months.at(size_t((period == Previous ? 0 : 12) + i));
}

MonthFigures PracticeStatistics::total(Period period) const
{
    MonthFigures sum;
    for (int i = 0; i < 12; ++i)
        sum += month(period, i);
    return sum;
}

void PracticeStatistics::add(Source source, const RecordSet &rows)
{
    const int year = requireField(rows, "ETOS");
    const int monthColumn = requireField(rows, "MHNAS");
    const int count = requireField(rows, "PLHTHOS");
    const bool amounts = source == Source::Income || source == Source::Expenses;
    const int poso = amounts ? requireField(rows, "POSO") : -1;
    const int vat = amounts ? requireField(rows, "VAT") : -1;
    const int absent = source == Source::AppointmentLinks ? requireField(rows, "APOUSIES") : -1;
    for (int r = 0; r < rows.rowCount(); ++r) {
        const int i = slot(rows.value(r, year).toInt(), rows.value(r, monthColumn).toInt());
        if (i < 0)
            continue;
        MonthFigures &m = m_months[size_t(i)];
        const qint64 n = rows.value(r, count).toLongLong();
        switch (source) {
        case Source::Income:
            m.income = m.income + amount(rows, r, poso) * Decimal(n);
            m.incomeVat = m.incomeVat + amount(rows, r, vat) * Decimal(n);
            break;
        case Source::Expenses:
            m.expenses = m.expenses + amount(rows, r, poso) * Decimal(n);
            m.expensesVat = m.expensesVat + amount(rows, r, vat) * Decimal(n);
            break;
        case Source::Visits:
            m.visits += n;
            break;
        case Source::NewPatients:
            m.newPatients += n;
            break;
        case Source::AppointmentLinks:
            m.linkedSlots += n;
            m.noShows += rows.value(r, absent).toLongLong();
            break;
        }
    }
}

void PracticeStatistics::load(Connection &connection)
{
    m_months = {};
    const QString from = fromLiteral();
    const QString to = toLiteral();
    const auto run = [&](Source source, const QString &sql) {
        Query q(connection);
        q.setSql(sql);
        q.open();
        add(source, q);
        q.close();
    };
    run(Source::Income, StatisticsSql::income(from, to));
    run(Source::Expenses, StatisticsSql::expenses(from, to));
    run(Source::Visits, StatisticsSql::visits(from, to));
    run(Source::NewPatients, StatisticsSql::newPatients(from, to));
    m_hasLinks = Schema::hasTable(connection, QLatin1String(Schema::kAppointmentLinksTable));
    if (m_hasLinks)
        run(Source::AppointmentLinks, StatisticsSql::appointmentLinks(from, to));
}
