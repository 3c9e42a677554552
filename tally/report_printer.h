// The printer side of a report job (report_printer.cpp): the default
// printer, the print dialog and the abort dialog with its message pump.
#pragma once

#include <windows.h>

#include <string>

// DC of the default printer of the profile ("windows", "device"), created
// without a dialog; its name goes to `printerName`. Null after a message
// when there is no default printer or its DC cannot be created.
HDC CreateDefaultPrinterDC(std::string* printerName);
// DC of the printer chosen in the print dialog, with the context's paper
// and orientation (none for kind "R"); the chosen printer's name goes to
// `printerName`. Null when the user cancelled (no message) or after a
// message when the dialog failed.
HDC RunPrintDialog(char kindLetter, std::string* printerName);

// The modeless abort dialog "印  刷  処  理" owned by the context's owner
// window; its button sets the context's aborted flag.
void OpenAbortDialog();
// Destroys the abort dialog if it is still there.
void CloseAbortDialog();
// Handles waiting messages (the abort dialog's first) until the job is
// aborted or none is left.
void PumpAbortDialogMessages();
// Abort procedure of the printer DC: pumps and says whether to go on.
BOOL CALLBACK ReportAbortProc(HDC dc, int error);
// Lets the next printer job be stopped between pages (sheet printing): it
// shows the abort dialog although it was begun directly, and the dialog's
// button only asks it to stop, so the pages ended before are kept and
// printed when the job ends.
void OfferStopBetweenPages();
// 1 when the user asked such a job to stop (waiting messages are handled
// first), else 0.
int PrintJobStopRequested();
// Whether the next printer job was offered to be stopped between pages.
bool StopBetweenPagesOffered();
// Ends the offer as its job ends.
void EndStopBetweenPagesOffer();
