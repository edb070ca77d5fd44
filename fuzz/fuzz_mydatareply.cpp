// The e-books service's reply reader: any bytes, under any HTTP status, give a reply without a
// crash; a reply taken as a ResponseDoc has at least one response and every response a status;
// a mark is never negative; reading the same bytes twice gives the same reply.

#include "fuzzcheck.h"
#include "replyparser.h"

namespace {

QString describe(const MyData::Reply &r)
{
    return QStringLiteral("kind %1, %2 responses, %3 documents: %4")
        .arg(int(r.kind))
        .arg(r.responses.size())
        .arg(r.transmitted.size())
        .arg(r.message);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The first byte chooses the HTTP status, so that every path of the reader is reached.
    static const int statuses[] = {200, 200, 200, 200, 400, 401, 403, 429, 500, 502, 503, 404};
    const int status = size > 0 ? statuses[data[0] % std::size(statuses)] : 200;
    const QByteArray body = size > 0
        ? QByteArray(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1))
        : QByteArray();
    const MyData::Reply reply = MyData::parseReply(status, body);
    FUZZ_CHECK(reply.httpStatus == status, describe(reply));
    if (reply.kind == MyData::Reply::Kind::Responses) {
        FUZZ_CHECK(!reply.responses.isEmpty(), describe(reply));
        for (const MyData::Response &r : reply.responses)
            FUZZ_CHECK(!r.status.isEmpty() && r.mark >= 0 && r.cancellationMark >= 0,
                       describe(reply));
    } else {
        FUZZ_CHECK(reply.responses.isEmpty(), describe(reply));
    }
    for (const MyData::TransmittedDoc &d : reply.transmitted)
        FUZZ_CHECK(d.mark >= 0 && (!d.uid.isEmpty() || d.mark > 0), describe(reply));
    const MyData::Reply again = MyData::parseReply(status, body);
    FUZZ_CHECK(again.kind == reply.kind && again.responses.size() == reply.responses.size()
                   && again.message == reply.message,
               describe(reply) + QStringLiteral(" / ") + describe(again));
    return 0;
}
