#pragma once

#include <QString>

// What the print system (CUPS) says about a printer's queue and about the job a QPrinter has just
// handed over. Qt hands a job over without looking at the answer; these questions fill that gap.

struct PrintQueueState {
    bool known = false;    // the print system answered for this printer
    bool accepting = true; // the queue takes new jobs (not "cupsreject")
    bool stopped = false;  // the queue holds its jobs instead of printing them ("cupsdisable")
};

// The queue of the named printer (an instance after "/" counts as its printer). Asking also clears
// the print system's last answer of this thread, so that submissionProblem() speaks of what follows.
PrintQueueState printQueueState(const QString &printerName);

// The reason in German when the print system refused the last request of this thread (after a
// QPrinter ended: the job's submission); empty when it was accepted.
QString submissionProblem();

// The folder in which the print system's library writes the job before handing it over: $TMPDIR when
// it can be written, /tmp otherwise.
QString spoolFolder();
