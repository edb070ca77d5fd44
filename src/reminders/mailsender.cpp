#include "reminderdelivery.h"

#include <QDateTime>
#include <QLocale>

#include <curl/curl.h>

#include <memory>
#include <mutex>

namespace Reminders {

namespace {

struct Progress {
    bool messageStarted = false; // the DATA command went out: the message may arrive
};

int watch(CURL *, curl_infotype type, char *data, size_t size, void *user)
{
    if (type == CURLINFO_HEADER_OUT && size >= 4
        && QByteArray(data, qsizetype(std::min<size_t>(size, 4))).toUpper() == "DATA")
        static_cast<Progress *>(user)->messageStarted = true;
    return 0;
}

QByteArray angle(const QString &address)
{
    return '<' + address.trimmed().toUtf8() + '>';
}

} // namespace

QByteArray encodedWords(const QString &text)
{
    bool ascii = true;
    for (QChar c : text)
        if (c.unicode() > 126 || c.unicode() < 32)
            ascii = false;
    if (ascii && !text.contains(QLatin1String("=?")))
        return text.toLatin1();
    // Each word holds whole characters, at most 45 octets (60 of base64), so that a word with
    // its "=?UTF-8?B?" and "?=" stays within 75 characters.
    QList<QByteArray> words;
    QByteArray word;
    for (qsizetype i = 0; i < text.size(); ++i) {
        QString one(text.at(i));
        if (text.at(i).isHighSurrogate() && i + 1 < text.size())
            one += text.at(++i);
        const QByteArray bytes = one.toUtf8();
        if (word.size() + bytes.size() > 45) {
            words << word;
            word.clear();
        }
        word += bytes;
    }
    if (!word.isEmpty())
        words << word;
    QByteArray out;
    for (const QByteArray &w : words) {
        if (!out.isEmpty())
            out += ' ';
        out += "=?UTF-8?B?" + w.toBase64() + "?=";
    }
    return out;
}

Delivery sendMail(const Settings &settings, const QString &password, const Mail &mail,
                  int timeoutSeconds)
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });

    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), &curl_easy_cleanup);
    if (!curl)
        return {Delivery::Fate::NotDelivered, QStringLiteral("libcurl could not start")};
    CURL *c = curl.get();
    const bool tls = settings.security == Security::Tls;
    const QByteArray url = (tls ? "smtps://" : "smtp://") + settings.smtpHost.trimmed().toUtf8()
        + ':' + QByteArray::number(settings.smtpPort);
    curl_easy_setopt(c, CURLOPT_URL, url.constData());
    // Never in the clear: STARTTLS is required, not merely tried.
    curl_easy_setopt(c, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
    const QByteArray caFile = settings.caFile.trimmed().toLocal8Bit();
    if (!caFile.isEmpty())
        curl_easy_setopt(c, CURLOPT_CAINFO, caFile.constData());
    const QByteArray user = settings.smtpUser.trimmed().toUtf8();
    const QByteArray pass = password.toUtf8();
    if (!user.isEmpty()) {
        curl_easy_setopt(c, CURLOPT_USERNAME, user.constData());
        curl_easy_setopt(c, CURLOPT_PASSWORD, pass.constData());
    }
    const QByteArray from = angle(settings.senderAddress);
    curl_easy_setopt(c, CURLOPT_MAIL_FROM, from.constData());
    const QByteArray to = angle(mail.to);
    std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> rcpt(
        curl_slist_append(nullptr, to.constData()), &curl_slist_free_all);
    curl_easy_setopt(c, CURLOPT_MAIL_RCPT, rcpt.get());
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, long(std::max(1, timeoutSeconds / 2)));
    curl_easy_setopt(c, CURLOPT_TIMEOUT, long(timeoutSeconds));
    curl_easy_setopt(c, CURLOPT_NOPROXY, "*");

    const QByteArray date = QLocale::c()
                                .toString(QDateTime::currentDateTimeUtc(),
                                          QStringLiteral("ddd, dd MMM yyyy HH:mm:ss"))
                                .toLatin1()
        + " +0000";
    QByteArray fromHeader = "From: ";
    if (!settings.senderName.trimmed().isEmpty())
        fromHeader += encodedWords(settings.senderName.trimmed()) + ' ';
    fromHeader += from;
    const QList<QByteArray> headerLines = {
        "Date: " + date,
        fromHeader,
        "To: " + to,
        "Subject: " + encodedWords(mail.subject),
        "Message-ID: " + angle(mail.messageId),
    };
    curl_slist *headers = nullptr;
    for (const QByteArray &line : headerLines)
        headers = curl_slist_append(headers, line.constData());
    std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> headerList(headers,
                                                                           &curl_slist_free_all);
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers);

    std::unique_ptr<curl_mime, decltype(&curl_mime_free)> mime(curl_mime_init(c), &curl_mime_free);
    const QByteArray text = mail.text.toUtf8();
    curl_mimepart *body = curl_mime_addpart(mime.get());
    curl_mime_data(body, text.constData(), size_t(text.size()));
    curl_mime_type(body, "text/plain; charset=UTF-8");
    curl_mime_encoder(body, "quoted-printable");
    const QByteArray calendarName = mail.calendarName.toUtf8();
    if (!mail.calendar.isEmpty()) {
        curl_mimepart *ics = curl_mime_addpart(mime.get());
        curl_mime_data(ics, mail.calendar.constData(), size_t(mail.calendar.size()));
        curl_mime_type(ics, "text/calendar; charset=UTF-8; method=PUBLISH");
        curl_mime_filename(ics, calendarName.constData());
        curl_mime_encoder(ics, "base64");
    }
    curl_easy_setopt(c, CURLOPT_MIMEPOST, mime.get());

    Progress progress;
    curl_easy_setopt(c, CURLOPT_DEBUGFUNCTION, &watch);
    curl_easy_setopt(c, CURLOPT_DEBUGDATA, &progress);
    curl_easy_setopt(c, CURLOPT_VERBOSE, 1L);
    char error[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, error);

    const CURLcode result = curl_easy_perform(c);
    long code = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &code);
    const QString detail = QString::fromUtf8(error[0] ? error : curl_easy_strerror(result));
    if (result == CURLE_OK)
        return {Delivery::Fate::Sent, QString()};
    if (progress.messageStarted)
        return {Delivery::Fate::Unknown, detail};
    if (result == CURLE_LOGIN_DENIED)
        return {Delivery::Fate::LoginRefused, detail};
    // The server answered the envelope with a permanent refusal (an address it will not take).
    if (code >= 500 && code < 600
        && (result == CURLE_SEND_ERROR || result == CURLE_RECV_ERROR
            || result == CURLE_WEIRD_SERVER_REPLY))
        return {Delivery::Fate::Refused, detail};
    return {Delivery::Fate::NotDelivered, detail};
}

} // namespace Reminders
