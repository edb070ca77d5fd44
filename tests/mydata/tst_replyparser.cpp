// What the service answers, in the shapes it has been seen to answer in.
#include "replyparser.h"

#include <gtest/gtest.h>

using namespace MyData;
using Kind = Reply::Kind;

namespace {

const char kSuccess[]
    = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
      "<ResponseDoc xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><response>"
      "<index>1</index><invoiceUid>A94761DBAD6ECFDE9629FB7E6FA5F94E31803C85</invoiceUid>"
      "<invoiceMark>400001912345678</invoiceMark>"
      "<qrUrl>https://mydataapidev.aade.gr/TimologioQR/QRInfo?q=abc%3D&amp;x=1</qrUrl>"
      "<statusCode>Success</statusCode></response></ResponseDoc>";

} // namespace

TEST(ReplyParser, ReadsEveryShapeTheServiceAnswersIn)
{
    struct Case {
        const char *what;
        int http;
        QByteArray body;
        Kind kind;
        QString status;    // of the first response
        qint64 mark;
        QStringList codes; // of the first response's errors
        QString message;   // part of the reply's message
    };
    const QByteArray validationStatusFirst
        = "<ResponseDoc><response><index>1</index><statusCode>ValidationError</statusCode>"
          "<errors><error><message>Field aa is mandatory</message><code>204</code></error>"
          "<error><message>quantity is forbidden</message><code>205</code></error></errors>"
          "</response></ResponseDoc>";
    const QByteArray validationErrorsFirst
        = "<ResponseDoc><response><index>1</index><errors><error><code>212</code>"
          "<message>aa</message></error></errors><statusCode>ValidationError</statusCode>"
          "</response></ResponseDoc>";
    const QByteArray wrapped
        = "<string xmlns=\"http://schemas.microsoft.com/2003/10/Serialization/\">"
          "&lt;ResponseDoc&gt;&lt;response&gt;&lt;index&gt;1&lt;/index&gt;&lt;statusCode&gt;"
          "XMLSyntaxError&lt;/statusCode&gt;&lt;errors&gt;&lt;error&gt;&lt;message&gt;Root "
          "element is missing.&lt;/message&gt;&lt;code&gt;101&lt;/code&gt;&lt;/error&gt;"
          "&lt;/errors&gt;&lt;/response&gt;&lt;/ResponseDoc&gt;</string>";
    QByteArray twiceWrapped = "<string xmlns=\"http://schemas.microsoft.com/2003/10/"
                              "Serialization/\">"
        + QByteArray(wrapped).replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
        + "</string>";
    const Case cases[] = {
        {"success", 200, kSuccess, Kind::Responses, "Success", 400001912345678, {}, {}},
        {"with a byte-order mark", 200, QByteArray("\xEF\xBB\xBF") + kSuccess, Kind::Responses,
         "Success", 400001912345678, {}, {}},
        {"status before errors", 200, validationStatusFirst, Kind::Responses,
         "ValidationError", 0, {"204", "205"}, {}},
        {"errors before status", 200, validationErrorsFirst, Kind::Responses,
         "ValidationError", 0, {"212"}, {}},
        {"wrapped in a string", 200, wrapped, Kind::Responses, "XMLSyntaxError", 0, {"101"}, {}},
        {"wrapped twice", 200, twiceWrapped, Kind::Responses, "XMLSyntaxError", 0, {"101"}, {}},
        {"cancelled", 200,
         "<ResponseDoc><response><cancellationMark>400001912345999</cancellationMark>"
         "<statusCode>Success</statusCode></response></ResponseDoc>",
         Kind::Responses, "Success", 0, {}, {}},
        {"invalid key", 401,
         "{ \"statusCode\": 401, \"message\": \"Access denied due to invalid subscription key. "
         "Make sure to provide a valid key for an active subscription.\" }",
         Kind::Refused, {}, 0, {}, "invalid subscription key"},
        {"401 without JSON", 401, "denied", Kind::Refused, {}, 0, {}, "denied"},
        {"rate limited", 429, "{\"statusCode\":429,\"message\":\"Rate limit is exceeded.\"}",
         Kind::RateLimited, {}, 0, {}, {}},
        {"gateway page", 502, "<html><body>Bad gateway</body></html>", Kind::ServerError, {}, 0,
         {}, "html"},
        {"plain 500", 500, "oops", Kind::ServerError, {}, 0, {}, "oops"},
        {"breaks off", 200, QByteArray(kSuccess).left(120), Kind::Unreadable, {}, 0, {},
         "breaks off"},
        {"no status", 200, "<ResponseDoc><response><index>1</index></response></ResponseDoc>",
         Kind::Unreadable, {}, 0, {}, "status"},
        {"no response", 200, "<ResponseDoc/>", Kind::Unreadable, {}, 0, {}, "without"},
        {"empty", 200, "", Kind::Unreadable, {}, 0, {}, {}},
        {"other element", 200, "<Fault/>", Kind::Unreadable, {}, 0, {}, "Fault"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const Reply reply = parseReply(c.http, c.body);
        EXPECT_EQ(int(reply.kind), int(c.kind));
        EXPECT_EQ(reply.httpStatus, c.http);
        if (!c.message.isEmpty()) {
            EXPECT_TRUE(reply.message.contains(c.message)) << reply.message.toStdString();
        }
        if (c.kind != Kind::Responses) {
            EXPECT_TRUE(reply.responses.isEmpty());
            continue;
        }
        ASSERT_EQ(reply.responses.size(), 1);
        const Response &r = reply.responses.first();
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.mark, c.mark);
        QStringList codes;
        for (const ServiceError &e : r.errors) {
            codes << e.code;
            EXPECT_FALSE(e.message.isEmpty());
        }
        EXPECT_EQ(codes, c.codes);
    }
}

TEST(ReplyParser, KeepsTheIdentifierTheMarkAndTheLinkOfASuccess)
{
    const Reply reply = parseReply(200, kSuccess);
    ASSERT_EQ(reply.responses.size(), 1);
    const Response &r = reply.responses.first();
    EXPECT_TRUE(r.succeeded());
    EXPECT_EQ(r.index, 1);
    EXPECT_EQ(r.uid, "A94761DBAD6ECFDE9629FB7E6FA5F94E31803C85");
    EXPECT_EQ(r.qrUrl, "https://mydataapidev.aade.gr/TimologioQR/QRInfo?q=abc%3D&x=1");
    const Reply cancelled = parseReply(
        200, "<ResponseDoc><response><cancellationMark>400001912345999</cancellationMark>"
             "<statusCode>Success</statusCode></response></ResponseDoc>");
    EXPECT_EQ(cancelled.responses.value(0).cancellationMark, 400001912345999);
}

TEST(ReplyParser, ListsTheDocumentsTheServiceHolds)
{
    const QByteArray body
        = "<RequestedDoc xmlns=\"http://www.aade.gr/myDATA/invoice/v1.0\">"
          "<continuationToken><nextPartitionKey>p1</nextPartitionKey>"
          "<nextRowKey>r1</nextRowKey></continuationToken><invoicesDoc>"
          "<invoice><uid>AAA</uid><mark>400001000000001</mark><issuer><vatNumber>1"
          "</vatNumber></issuer><invoiceHeader><series>A</series><aa>1</aa></invoiceHeader>"
          "<qrCodeUrl>https://q/1</qrCodeUrl></invoice>"
          "<invoice><uid>BBB</uid><mark>400001000000002</mark>"
          "<cancelledByMark>400001000000003</cancelledByMark></invoice>"
          "</invoicesDoc></RequestedDoc>";
    const Reply reply = parseReply(200, body);
    ASSERT_EQ(int(reply.kind), int(Kind::Transmitted));
    ASSERT_EQ(reply.transmitted.size(), 2);
    EXPECT_EQ(reply.transmitted[0].uid, "AAA");
    EXPECT_EQ(reply.transmitted[0].mark, 400001000000001);
    EXPECT_EQ(reply.transmitted[0].qrUrl, "https://q/1");
    EXPECT_EQ(reply.transmitted[1].cancelledByMark, 400001000000003);
    EXPECT_EQ(reply.nextPartitionKey, "p1");
    EXPECT_EQ(reply.nextRowKey, "r1");

    const Reply none = parseReply(200, "<RequestedDoc/>");
    EXPECT_EQ(int(none.kind), int(Kind::Transmitted));
    EXPECT_TRUE(none.transmitted.isEmpty());
}
