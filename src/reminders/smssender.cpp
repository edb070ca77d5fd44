#include "reminderdelivery.h"

#include "remindertexts.h"
#include "singlerequest.h"

#include <QEventLoop>
#include <QUrl>

namespace Reminders {

namespace {

QString jsonEscaped(const QString &text)
{
    QString out;
    for (QChar c : text) {
        switch (c.unicode()) {
        case '"':
            out += QLatin1String("\\\"");
            break;
        case '\\':
            out += QLatin1String("\\\\");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        case '\t':
            out += QLatin1String("\\t");
            break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    return out;
}

QString percent(const QString &text)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

QString filled(QString pattern, const std::function<QString(const QString &)> &encode,
               const QString &key, const QString &number, const QString &text)
{
    pattern.replace(ReminderTexts::kFieldKey, encode(key));
    pattern.replace(ReminderTexts::kFieldNumber, encode(number));
    pattern.replace(ReminderTexts::kFieldText, encode(text));
    return pattern;
}

bool localHost(const QUrl &url)
{
    return url.host() == QLatin1String("127.0.0.1") || url.host() == QLatin1String("localhost")
        || url.host() == QLatin1String("::1");
}

} // namespace

SmsRequest smsRequest(const Settings &s, const QString &key, const QString &number,
                      const QString &text)
{
    SmsRequest r;
    r.url = filled(s.smsUrl.trimmed(), percent, key, number, text).toUtf8();
    r.method = s.smsMethod.trimmed().toUpper().toLatin1();
    const QString type = s.smsContentType.toLower();
    std::function<QString(const QString &)> encode = [](const QString &v) { return v; };
    if (type.contains(QLatin1String("json")))
        encode = jsonEscaped;
    else if (type.contains(QLatin1String("x-www-form-urlencoded")))
        encode = percent;
    if (r.method != "GET")
        r.body = filled(s.smsBody, encode, key, number, text).toUtf8();
    const QString header = s.smsHeader.trimmed();
    if (const qsizetype colon = header.indexOf(QLatin1Char(':')); colon > 0) {
        r.headerName = header.left(colon).trimmed().toLatin1();
        r.headerValue = filled(header.mid(colon + 1).trimmed(),
                               [](const QString &v) { return v; }, key, number, text)
                            .toUtf8();
    }
    return r;
}

Delivery sendSms(const Settings &s, const QString &key, const QString &number,
                 const QString &text, int timeoutSeconds)
{
    const SmsRequest request = smsRequest(s, key, number, text);
    const QUrl url = QUrl::fromEncoded(request.url, QUrl::StrictMode);
    if (!url.isValid()
        || !(url.scheme() == QLatin1String("https")
             || (url.scheme() == QLatin1String("http") && localHost(url))))
        return {Delivery::Fate::NotDelivered,
                QStringLiteral("the SMS provider's address is not an https address")};
    MyData::SingleRequest::Headers headers;
    if (!request.body.isEmpty())
        headers.append({"Content-Type", s.smsContentType.trimmed().toLatin1()});
    if (!request.headerName.isEmpty())
        headers.append({request.headerName, request.headerValue});
    // The header values may hold a line break only if the settings were written by hand.
    for (const auto &[name, value] : headers)
        if (name.contains('\n') || value.contains('\n') || value.contains('\r'))
            return {Delivery::Fate::Refused, QStringLiteral("a header of the request holds a line break")};

    QEventLoop loop;
    MyData::RawReply reply;
    new MyData::SingleRequest(url, request.method, headers, request.body, timeoutSeconds * 1000,
                              [&](const MyData::RawReply &r) {
                                  reply = r;
                                  loop.quit();
                              });
    loop.exec();
    switch (reply.fate) {
    case MyData::RawReply::Fate::NotDelivered:
        return {Delivery::Fate::NotDelivered, reply.error};
    case MyData::RawReply::Fate::Unknown:
        return {Delivery::Fate::Unknown, reply.error};
    case MyData::RawReply::Fate::Complete:
        break;
    }
    const QString answer = QString::fromUtf8(reply.body.left(500));
    const QString detail = QStringLiteral("HTTP %1: %2").arg(reply.status).arg(answer.simplified());
    if (reply.status == 401 || reply.status == 403)
        return {Delivery::Fate::LoginRefused, detail};
    if (reply.status == 429 || reply.status == 503)
        return {Delivery::Fate::NotDelivered, detail};
    if (reply.status >= 200 && reply.status < 300
        && QString::fromUtf8(reply.body).contains(s.smsSuccess.trimmed()))
        return {Delivery::Fate::Sent, QString()};
    return {Delivery::Fate::Refused, detail};
}

} // namespace Reminders
