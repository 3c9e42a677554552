// The parts of the system this build does not hold yet. Their buttons and
// commands answer with one message naming what is missing, instead of
// doing nothing. Each entry goes when its part is built.
#include "foundation/msgbox.h"
#include "shell/shell.h"

namespace {

struct MissingPart {
  NotBuilt part;
  const char* name;  // as its button says it
};

constexpr MissingPart kMissingParts[] = {
    {NotBuilt::kManual, "操作説明書"},
    {NotBuilt::kCardScreen, "カード形式画面"},
    {NotBuilt::kListScreen, "一覧表形式画面"},
    {NotBuilt::kFieldPrint, "記入欄一覧表印刷"},
    {NotBuilt::kSheetPrint, "ＯＣＲシート印刷"},
    {NotBuilt::kDataClear, "データ初期化"},
};

}  // namespace

int ShowNotBuilt(NotBuilt part, const char* detail) {
  for (const MissingPart& missing : kMissingParts) {
    if (missing.part != part) continue;
    if (detail && *detail) {
      ShowInfoMessage("", "「%s」は、このバージョンにはまだありません。\n(%s)", missing.name, detail);
    } else {
      ShowInfoMessage("", "「%s」は、このバージョンにはまだありません。", missing.name);
    }
  }
  return -1;
}
