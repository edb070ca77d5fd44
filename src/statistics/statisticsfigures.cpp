#include "statisticsfigures.h"

#include "statisticstexts.h"

#include <cstdlib>

using namespace StatisticsTexts;
using P = PracticeStatistics;

namespace StatisticsFigures {

namespace {

// An amount as a whole number of cents, rounded as shown.
qint64 cents(const Decimal &amount)
{
    QString digits = amount.rounded(2, Decimal::Rounding::HalfAwayFromZero).text(QLatin1Char('.'));
    digits.remove(QLatin1Char('.'));
    return digits.toLongLong();
}

// num / den × 100 in tenths of a per cent, an exact half away from zero; den > 0.
qint64 perMilleRounded(qint64 num, qint64 den)
{
    const __int128 scaled = __int128(num) * 1000;
    __int128 q = scaled / den;
    const __int128 r = scaled % den;
    if (2 * (r < 0 ? -r : r) >= den)
        q += scaled < 0 ? -1 : 1;
    return qint64(q);
}

QString tenths(qint64 value, bool sign)
{
    const qint64 magnitude = std::llabs(value);
    QString text = QStringLiteral("%1%2%3 %")
                       .arg(magnitude / 10)
                       .arg(Decimal::systemSeparator())
                       .arg(magnitude % 10);
    if (value < 0)
        text.prepend(QLatin1Char('-'));
    else if (sign && value > 0)
        text.prepend(QLatin1Char('+'));
    return text;
}

QString euros(const Decimal &amount)
{
    return kEuro.arg(amountText(amount));
}

QString figure(const QString &what, const Decimal &now, const Decimal &before)
{
    return kFigure.arg(what, euros(now), euros(before), change(now, before));
}

QString figure(const QString &what, qint64 now, qint64 before)
{
    return kFigure.arg(what, QString::number(now), QString::number(before), change(now, before));
}

using Column = std::function<QString(const MonthFigures &)>;

// A table of 12 month rows and a totals row; each column reads one period's figures.
FigureTable monthTable(const PracticeStatistics &s, const QString &key, const QString &title,
                       const QList<std::pair<QString, std::pair<P::Period, Column>>> &columns)
{
    FigureTable t;
    t.key = key;
    t.title = title;
    t.columns << kMonth;
    for (const auto &c : columns)
        t.columns << c.first;
    for (int i = 0; i <= 12; ++i) {
        QStringList row;
        row << (i < 12 ? monthLabel(s.monthStart(P::Current, i)) : kTotal);
        for (const auto &c : columns) {
            const P::Period period = c.second.first;
            row << c.second.second(i < 12 ? s.month(period, i) : s.total(period));
        }
        t.rows << row;
    }
    return t;
}

QString amountOf(const Decimal &d)
{
    return amountText(d);
}

} // namespace

QString amountText(const Decimal &amount)
{
    return amount.rounded(2, Decimal::Rounding::HalfAwayFromZero).text();
}

QString change(qint64 now, qint64 before)
{
    if (before == 0)
        return kNoComparison;
    return tenths(perMilleRounded(now - before, std::llabs(before)), true);
}

QString change(const Decimal &now, const Decimal &before)
{
    return change(cents(now), cents(before));
}

QString share(const Decimal &part, const Decimal &whole)
{
    const qint64 w = cents(whole);
    if (w == 0)
        return QStringLiteral("-");
    return tenths(perMilleRounded(cents(part), std::llabs(w)), false);
}

QString monthLabel(const QDate &month)
{
    return QStringLiteral("%1 %2").arg(kMonths.value(month.month() - 1)).arg(month.year());
}

QString axisLabel(const PracticeStatistics &statistics, int i)
{
    const QDate month = statistics.monthStart(P::Current, i);
    const QString name = kShortMonths.value(month.month() - 1);
    if (statistics.endMonth() == 12)
        return name;
    return QStringLiteral("%1 %2").arg(name).arg(month.year() % 100, 2, 10, QLatin1Char('0'));
}

QList<FigureTable> tables(const PracticeStatistics &s)
{
    const QString now = s.periodName(P::Current);
    const QString before = s.periodName(P::Previous);
    const MonthFigures total = s.total(P::Current);
    const MonthFigures last = s.total(P::Previous);
    QList<FigureTable> out;

    FigureTable income = monthTable(
        s, QStringLiteral("income"), kIncomeTitle,
        {{kAmount.arg(now), {P::Current, [](const MonthFigures &m) { return amountOf(m.income); }}},
         {kVat.arg(now), {P::Current, [](const MonthFigures &m) { return amountOf(m.incomeVat); }}},
         {kAmount.arg(before),
          {P::Previous, [](const MonthFigures &m) { return amountOf(m.income); }}},
         {kVat.arg(before),
          {P::Previous, [](const MonthFigures &m) { return amountOf(m.incomeVat); }}}});
    income.figures << figure(kFigureIncome, total.income, last.income)
                   << figure(kFigureIncomeVat, total.incomeVat, last.incomeVat)
                   << figure(kFigureIncomeTotal, total.income + total.incomeVat,
                             last.income + last.incomeVat);
    out << income;

    FigureTable expenses = monthTable(
        s, QStringLiteral("expenses"), kExpensesTitle,
        {{kIncome, {P::Current, [](const MonthFigures &m) { return amountOf(m.income); }}},
         {kExpenses, {P::Current, [](const MonthFigures &m) { return amountOf(m.expenses); }}},
         {kNet, {P::Current, [](const MonthFigures &m) { return amountOf(m.net()); }}}});
    expenses.figures << figure(kFigureIncome, total.income, last.income)
                     << figure(kFigureExpenses, total.expenses, last.expenses)
                     << figure(kFigureNet, total.net(), last.net())
                     << kFigureExpenseShare.arg(share(total.expenses, total.income));
    out << expenses;

    const auto count = [](qint64 MonthFigures::*field) {
        return [field](const MonthFigures &m) { return QString::number(m.*field); };
    };
    FigureTable visits
        = monthTable(s, QStringLiteral("visits"), kVisitsTitle,
                     {{kVisits.arg(now), {P::Current, count(&MonthFigures::visits)}},
                      {kNewPatients.arg(now), {P::Current, count(&MonthFigures::newPatients)}},
                      {kVisits.arg(before), {P::Previous, count(&MonthFigures::visits)}},
                      {kNewPatients.arg(before), {P::Previous, count(&MonthFigures::newPatients)}}});
    visits.figures << figure(kFigureVisits, total.visits, last.visits)
                   << figure(kFigureNewPatients, total.newPatients, last.newPatients);
    out << visits;

    if (s.hasAppointmentLinks()) {
        FigureTable links
            = monthTable(s, QStringLiteral("appointments"), kAppointmentsTitle,
                         {{kLinkedSlots.arg(now), {P::Current, count(&MonthFigures::linkedSlots)}},
                          {kNoShows.arg(now), {P::Current, count(&MonthFigures::noShows)}},
                          {kLinkedSlots.arg(before),
                           {P::Previous, count(&MonthFigures::linkedSlots)}},
                          {kNoShows.arg(before), {P::Previous, count(&MonthFigures::noShows)}}});
        links.figures << figure(kFigureLinkedSlots, total.linkedSlots, last.linkedSlots)
                      << figure(kFigureNoShows, total.noShows, last.noShows)
                      << kFigureNoShowShare.arg(
                             share(Decimal(total.noShows), Decimal(total.linkedSlots)));
        out << links;
    }
    return out;
}

ExportTable exportTable(const PracticeStatistics &s)
{
    ExportTable t;
    t.sheetName = kExportSheet;
    t.titles = {kExportYear,      kExportMonth,      kExportIncome,     kExportIncomeVat,
                kExportExpenses,  kExportExpensesVat, kExportNet,       kExportVisits,
                kExportNewPatients};
    t.widths = {8, 14, 12, 12, 12, 12, 12, 11, 11};
    if (s.hasAppointmentLinks()) {
        t.titles << kExportLinkedSlots << kExportNoShows;
        t.widths << 11 << 11;
    }
    const auto row = [&](std::vector<ExportCell> head, const MonthFigures &m) {
        head.push_back(ExportCell::ofAmount(m.income));
        head.push_back(ExportCell::ofAmount(m.incomeVat));
        head.push_back(ExportCell::ofAmount(m.expenses));
        head.push_back(ExportCell::ofAmount(m.expensesVat));
        head.push_back(ExportCell::ofAmount(m.net()));
        head.push_back(ExportCell::ofInteger(m.visits));
        head.push_back(ExportCell::ofInteger(m.newPatients));
        if (s.hasAppointmentLinks()) {
            head.push_back(ExportCell::ofInteger(m.linkedSlots));
            head.push_back(ExportCell::ofInteger(m.noShows));
        }
        t.rows.push_back(std::move(head));
    };
    for (P::Period period : {P::Previous, P::Current})
        for (int i = 0; i < 12; ++i) {
            const QDate month = s.monthStart(period, i);
            row({ExportCell::ofInteger(month.year()),
                 ExportCell::ofText(kMonths.value(month.month() - 1))},
                s.month(period, i));
        }
    for (P::Period period : {P::Previous, P::Current})
        row({ExportCell::ofText(kExportTotal.arg(s.periodName(period))), ExportCell()},
            s.total(period));
    return t;
}

} // namespace StatisticsFigures
