// The card-form window "Cad": its state and the operations its files share
// (the window, the records, the record images). Private to entry/.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "foundation/image_cache.h"

// Entry states of the card.
constexpr int kCardNothingShown = 0;
constexpr int kCardNewRecord = 1;
constexpr int kCardStoredRecord = 2;

// The card's print buttons: every record, a range, the shown card.
constexpr int kCardPrintAll = 211;
constexpr int kCardPrintRange = 212;
constexpr int kCardPrintShown = 213;

// Start modes of a card screen (its input setting, or 3 with a search
// condition).
constexpr int kCardStartFirst = 0;      // show the first record
constexpr int kCardStartNewCode = 1;    // a new record, its code editable
constexpr int kCardStartNew = 2;        // a new record
constexpr int kCardStartFound = 3;      // the records of the search condition

// A record image shown beside its field.
struct CardRecordImage {
  int item = -1;
  ImageHandle image = 0;
  int width = 0, height = 0;  // as shown, in pixels
};

// The one card window's state.
struct CardFormState {
  int slot = -1;          // window slot of the card screen
  int tableSlot = -1;     // data set, or -1
  int keyNumber = 0;
  std::string table, keyColumn;
  int keyItem = -1;       // the code field
  int codeWidth = 4;      // digits of a code number
  int entryState = kCardNothingShown;
  int startMode = kCardStartFirst;
  bool locked = false;    // F5 and F7 refused
  // A sheet's card: it corrects the records the reading run stored, from
  // the first (F4 the last), and adds none.
  bool sheetCard = false;
  int pendingEdits = 0;   // values typed since the record was shown or written
  std::string shownCode;  // code of the stored record shown ("" for none)
  std::string copySource; // code shown when F4 was pressed
  std::string printCode;  // "C%05d"
  int jobItem = -1;       // the field a range input writes (focused when its dialog opened)
  std::vector<CardRecordImage> images;
  int imagePercent = 73;  // the size record images are shown at
  RECT openedAt = {};     // the window as it opened: moved or sized, it is kept
};
extern CardFormState g_cardForm;  // (card_window.cpp)

// Where record images come from (SetCardImageComparison).
struct CardImageSettings {
  std::string folder;     // empty: no image comparison
  int sizePercent = 73;
};
extern CardImageSettings g_cardImages;  // (card_images.cpp)

// Records (card_records.cpp). Each returns 0, or -1 when nothing changed
// (a refusal was shown in a message box; database failures by the layer).
// The code the code field holds, zero-filled to the code width.
std::string CardCodeInField();
// Fills the fields from the stored record of `code`: -1 when there is none
// (quiet; the card is unchanged).
int ShowCardRecord(const std::string& code);
// A date typed into the current field (a date or a birth date) made a
// Western date "%04d/%02d/%02d", the ages shown again.
void TakeCardDate();
// Writes the shown values when edits are pending (inserting a new record,
// updating a stored one).
int WriteCardRecord();
int ShowPreviousCard();
int ShowNextCard();
int ShowFirstCard();
int StartNewCard();
int CopyCardRecord();
int DeleteCardRecord();
// The stored record of a code typed into the code field of a new record:
// -1 after "コード番号“%s”はすでに登録されています。".
int CheckNewCardCode();
// The first record of the data set (its first row): -1 for an empty one.
int ShowFirstStoredCard();
// Jobs over the codes from `start` to `end` (a start above the end is
// refused first): deleting the records, writing `value` into the column of
// the field `item` of each. The number search shows the record of a code
// (zero-filled to the code's width), else keeps the card (a beep).
int DeleteCardRange(const std::string& start, const std::string& end);
int InputCardRange(int item, const std::string& start, const std::string& end, const std::string& value);
int SearchCardNumber(const std::string& code);

// CSV output (card_csv.cpp): the records from `start` to `end` (the start
// must be stored) into a CSV or TXT file, with a line of the field names
// when `titles`, texts in double quotes when `quotes`. The number of
// records written, or -1 after the refusal's message (or the question's
// No).
int ExportCardCsv(const std::string& path, const std::string& start, const std::string& end, bool titles, bool quotes);

// Record images (card_images.cpp): loaded for the shown code (none without
// a folder or a file), drawn beside their fields, freed. PrintCardImages
// places the files of `code` on the report page at half the size the card
// shows them.
void LoadCardImages(const std::string& code);
void PaintCardImages(HWND window);
void PrintCardImages(const std::string& code);
void FreeCardImages();

// Printing cards (card_printing.cpp). OpenCardPrintSettings opens the
// print-settings screen of cards for a print button (kCardPrintAll: the
// table's first to last code; kCardPrintRange: the range set last, else
// the same; kCardPrintShown: the shown record): 0, or -1 after the message
// (an empty table, no stored record shown). PrintCards prints the records
// of the settings' range, a page each, on the printer (kReportPrinter) or
// the first of them in the settings' preview (kReportPreview), and shows
// the card's record again: 0, or -1 (cancelled, aborted, nothing in the
// range on the printer, or refused by the spooler).
int OpenCardPrintSettings(int command);
int PrintCards(int mode);
