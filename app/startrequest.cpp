#include "startrequest.h"

#include "filename.h"
#include "mainform.h"

#include <QMetaObject>
#include <QUrl>

#include <cstdio>

namespace {

const QString usageLine = QStringLiteral("Aufruf: wabrix [DATEI.wbx]");

void print(std::FILE *stream, const QString &text) {
    const QByteArray bytes = (text + u'\n').toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
}

// A file manager may hand over a file:// address instead of a path.
QString documentPath(const QString &argument) {
    if (argument.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        const QUrl url(argument);
        // The escaped bytes of the address are the file's name, UTF-8 or not.
        if (url.isLocalFile() && url.host().isEmpty())
            return fileNameFromSystem(
                QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
        if (url.isLocalFile())
            return url.toLocalFile();
    }
    return argument;
}

} // namespace

StartRequest parseStartArguments(const QStringList &arguments) {
    StartRequest request;
    QStringList documents;
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument.isEmpty())
            continue;
        if (!optionsEnded && argument.startsWith(u'-') && argument != QLatin1String("-")) {
            if (argument == QLatin1String("--"))
                optionsEnded = true;
            else if (argument == QLatin1String("-h") || argument == QLatin1String("--help"))
                request.action = StartRequest::Action::ShowHelp;
            else if ((argument == QLatin1String("-v") || argument == QLatin1String("--version")) &&
                     request.action != StartRequest::Action::ShowHelp)
                request.action = StartRequest::Action::ShowVersion;
            else if (request.error.isEmpty())
                request.error = QStringLiteral("unbekannte Option „%1“").arg(argument);
            continue;
        }
        documents << documentPath(argument);
    }
    if (request.action != StartRequest::Action::Run)
        return request;
    if (request.error.isEmpty() && documents.size() > 1)
        request.error = QStringLiteral("nur eine Rätseldatei kann geöffnet werden");
    if (!request.error.isEmpty()) {
        request.action = StartRequest::Action::UsageError;
        return request;
    }
    if (!documents.isEmpty())
        request.document = documents.constFirst();
    return request;
}

int answerStartRequest(const StartRequest &request, const QString &version) {
    switch (request.action) {
    case StartRequest::Action::ShowHelp:
        print(stdout,
              usageLine +
                  QStringLiteral("\n\nWabrix erzeugt Schwedenrätsel aus einer Wortliste und druckt sie.\n\n"
                                 "  DATEI.wbx       öffnet diese Rätseldatei beim Start\n"
                                 "  -h, --help      zeigt diese Hilfe\n"
                                 "  -v, --version   zeigt die Version\n\n"
                                 "Befehle für Skripte: wabrix-cli --help"));
        return 0;
    case StartRequest::Action::ShowVersion:
        print(stdout, QStringLiteral("wabrix ") + version);
        return 0;
    case StartRequest::Action::UsageError:
        print(stderr, QStringLiteral("wabrix: ") + request.error);
        print(stderr, usageLine);
        return 2;
    case StartRequest::Action::Run:
        break;
    }
    return 0;
}

void openDocumentAtStart(TMainForm &form, const QString &path) {
    if (path.isEmpty())
        return;
    QMetaObject::invokeMethod(
        &form, [&form, path] { form.LoadOptionsFile(path); }, Qt::QueuedConnection);
}
