#include "printqueue.h"

#include <QFile>

#include <cups/cups.h>

#include <unistd.h>

PrintQueueState printQueueState(const QString &printerName) {
    PrintQueueState state;
    const QByteArray queue = printerName.section(u'/', 0, 0).toLocal8Bit();
    cups_dest_t *destination = cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.constData(), nullptr);
    if (!destination)
        return state;
    state.known = true;
    const char *accepting =
        cupsGetOption("printer-is-accepting-jobs", destination->num_options, destination->options);
    const char *printerState = cupsGetOption("printer-state", destination->num_options, destination->options);
    state.accepting = !accepting || qstrcmp(accepting, "false") != 0;
    state.stopped = printerState && qstrcmp(printerState, "5") == 0; // IPP printer-state "stopped"
    cupsFreeDests(1, destination);
    return state;
}

QString submissionProblem() {
    const ipp_status_t status = cupsLastError();
    if (status < IPP_STATUS_REDIRECTION_OTHER_SITE)
        return {};
    switch (status) {
    case IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS:
        return QStringLiteral("Der Drucker nimmt keine Aufträge an");
    case IPP_STATUS_ERROR_NOT_FOUND:
        return QStringLiteral("Den Drucker gibt es nicht mehr");
    case IPP_STATUS_ERROR_FORBIDDEN:
    case IPP_STATUS_ERROR_NOT_AUTHORIZED:
    case IPP_STATUS_ERROR_NOT_AUTHENTICATED:
        return QStringLiteral("Das Drucksystem erlaubt diesen Auftrag nicht");
    case IPP_STATUS_ERROR_DOCUMENT_FORMAT_NOT_SUPPORTED:
        return QStringLiteral("Der Drucker kann die Seite nicht verarbeiten");
    case IPP_STATUS_ERROR_SERVICE_UNAVAILABLE:
    case IPP_STATUS_ERROR_BUSY:
    case IPP_STATUS_ERROR_TOO_MANY_JOBS:
        return QStringLiteral("Das Drucksystem ist überlastet");
    case IPP_STATUS_ERROR_INTERNAL:
        return QStringLiteral("Das Drucksystem ist nicht erreichbar");
    default:
        return QStringLiteral("Das Drucksystem hat den Auftrag abgelehnt (IPP-Status 0x%1)")
            .arg(static_cast<unsigned>(status), 4, 16, QLatin1Char('0'));
    }
}

QString spoolFolder() {
    const QByteArray folder = qgetenv("TMPDIR");
    if (!folder.isEmpty() && ::access(folder.constData(), W_OK) == 0)
        return QFile::decodeName(folder);
    return QStringLiteral("/tmp");
}
