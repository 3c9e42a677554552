// The fixture screens of the screen and entry tests and the snapshot tool:
// the screen texts of tests/screen/screens (a menu, the menu it opens
// beside itself, a list, a card, a set and a form screen) loaded into the
// screen database "SCRTEST", with the tables the list, card and set show
// (T_ITEMS and T_CATS) and a few rows in them, on the file database
// (SQLite) or the server database (PostgreSQL).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

constexpr char kFixtureDb[] = "SCRTEST";
// The folder the build copies the fixture texts to, beside the programs.
constexpr char kFixtureTextFolder[] = "screen_fixtures";

// The rows of T_ITEMS the fixtures show, in key order.
struct FixtureItem {
  const char* code;
  const char* name;
  int quantity;
  const char* category;
  int scores[4];
};
extern const FixtureItem kFixtureItems[];
extern const int kFixtureItemCount;

// The server database a run of the tests uses.
struct ServerLogin {
  std::string server;  // "host:port"
  std::string user, password;
};

// Makes the database layer and the screen engine use `kind` (1 the file
// database in `folder`, 2 the server database of `login`) and keeps the
// specification files in `folder`.
void UseFixtureDatabase(int kind, const std::string& folder, const ServerLogin& login);

// Copies the shipped descriptions of the screen tables and the sheet tables
// from the program folder into the folder of table descriptions and writes
// those of T_ITEMS and T_CATS;
// drops what an earlier run left; makes T_ITEMS and T_CATS with their rows.
// Returns 0, or -1 after the database layer's message.
int PrepareFixtureTables();

// Drops the screen tables of the fixture database (quietly).
void DropScreenTables();

// Forgets the work windows screens were shown in (after a test destroyed
// them).
void ForgetWorkWindows();
