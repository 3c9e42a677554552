// The choice list of a field as its pop-up reads it: candidate lines, the
// rows to show, the "{1}" flag, the file and folder dialogs, the calendar,
// master look-ups ("\DB\TABLE,<n>,COL1,COL2,(8),1") and an action reference
// that ends the list. Portable: no Windows API.
#pragma once

#include <string>
#include <vector>

constexpr int kMaxChoiceTokens = 300;
constexpr int kMaxChoiceTokenBytes = 400;
constexpr int kDefaultShownRows = 10;

enum class ChoiceListKind {
  kPlain,
  kCalendar,         // "CALENDAR": the month calendar
  kFileDialog,       // "FILEDLG,title,file,filter,folder,drive flag"
  kFolderDialog,     // "FOLDERDLG,title"
  kImageFileDialog,  // "IKOpenFileDlg,title,folder,drive flag"
  kLookup,           // a master table
};

struct ChoiceList {
  ChoiceListKind kind = ChoiceListKind::kPlain;
  std::vector<std::string> tokens;      // every token as read
  std::vector<std::string> candidates;  // the lines a plain list shows
  std::vector<int> defaultCodes;        // per candidate: its code, or -1
  int shownRows = kDefaultShownRows;
  bool flagOne = false;                      // "{1}": the list only reports
  std::string actionReference;               // a "*..." token (it ends the list)
  std::vector<std::string> dialogArguments;  // the tokens after a dialog word
  // Master look-ups.
  std::string tableReference;        // "\DB\TABLE" or "#TABLE"
  int keyNumber = -1;                // "<n>", or -1
  std::string keyColumn;             // "{NAME}", or empty
  std::vector<std::string> columns;  // the columns shown
  char lookupMode = '0';             // '0', '1', '2', '3' or 'f'
};

// Parses a choice list. With `takeDefaults` each candidate's default code
// in parentheses at its end is taken off and kept in defaultCodes. Returns
// the number of tokens read (0 for an empty list).
int ParseChoiceList(const char* text, bool takeDefaults, ChoiceList* list);

// The text a chosen candidate line gives its field: the line up to " (" or
// "=" (never inside a double-byte character).
std::string CandidateValue(const std::string& line);
