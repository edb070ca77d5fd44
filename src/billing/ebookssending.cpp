#include "ebookssending.h"

#include "billingtexts.h"
#include "ebooksservice.h"
#include "messageservice.h"

#include <QPointer>
#include <QProgressDialog>

#include <algorithm>

using namespace BillingTexts;

void sendWaitingReceipts(QWidget *parent, MyData::EbooksService &service,
                         std::function<void()> done)
{
    if (!service.enabled()) {
        Messages::information(parent, kEbooksOff);
        if (done)
            done();
        return;
    }
    auto *progress = new QProgressDialog(kEbooksSendingWaiting, kEbooksLeave, 0, 0, parent);
    progress->setObjectName(QStringLiteral("ebooksProgress"));
    progress->setWindowModality(Qt::WindowModal);
    progress->setMinimumDuration(0);
    progress->setAutoClose(false);
    progress->setAutoReset(false);
    QPointer<QWidget> owner(parent);
    QPointer<QProgressDialog> wait(progress);
    // Leaving the wait leaves the sending to go on; its outcome is then not shown.
    QObject::connect(progress, &QProgressDialog::canceled, progress, &QObject::deleteLater);
    service.sendWaiting(true, [owner, wait, done](const MyData::DrainResult &r) {
        const bool shown = !wait.isNull();
        if (wait)
            wait->deleteLater();
        if (shown && !r.failure.isEmpty()) {
            Messages::error(owner, kEbooksQueueUnreadable + QLatin1Char('\r') + r.failure);
        } else if (shown) {
            // The receipts other workstations hold count as waiting, with their claims' end.
            QStringList lines = {ebooksSummary(r.sent, r.rejected,
                                               r.waiting + int(r.holders.size()), r.cancelled)};
            if (!r.holders.isEmpty()) {
                QDateTime until = r.holders.first().until;
                for (const MyData::ClaimHolder &h : r.holders)
                    until = std::max(until, h.until);
                lines << ebooksHeldElsewhere(int(r.holders.size()),
                                             until.toLocalTime().toString(
                                                 QStringLiteral("d/M/yyyy HH:mm")));
            }
            for (const MyData::Turn &t : r.turns)
                if (t.outcome == MyData::Outcome::Rejected
                    || t.outcome == MyData::Outcome::CancelRefused
                    || (t.outcome == MyData::Outcome::Waiting && !t.message.isEmpty())
                    || t.heldElsewhere)
                    lines << ebooksTurnLine(t.number, t.message);
            Messages::information(owner, lines.join(QLatin1Char('\r')));
        }
        if (done)
            done();
    });
    if (wait)
        progress->open();
}
