// The application shell: the program's environment as the subsystems above
// it use it. GUI thread only; functions return 0 on success and -1 after
// the one message that reports a failure.
#pragma once

// The PDF manuals of the program folder's "マニュアル" folder, shown in the
// reader program chosen once (LKPATH2 of the first MUPA_SET row of the
// settings database MUPAINIT).
//
// Starts the reader on the manual `file`. 0; -1 after a message when no
// reader is set or it does not start.
int OpenManualPdf(const char* file);
// Lets the operator choose the reader program and stores it. 0; -1 when the
// dialog was cancelled (quiet) or the choice could not be stored (reported
// by the database layer).
int ChooseAdobeReader();
