// The reading run and its per-sheet step: the run prepares (pre-checks,
// reference marks, file names, logs, masters), then scans or reads the
// stored page; every sheet is loaded, aligned, read, validated, written and
// logged, its images kept and its scanned page deleted. A sheet that fails
// stops the run with its message; what was stored stays stored.
#include <cstdio>
#include <cstring>
#include <string>

#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/files.h"
#include "foundation/image_cache.h"
#include "foundation/msgbox.h"
#include "foundation/sjis_text.h"
#include "foundation/text_utils.h"
#include "reading/reading.h"
#include "screen/screen.h"

namespace {

constexpr char kCaption[] = "";
constexpr char kTestKey[] = "TEST";

std::string Format(const char* format, const std::string& folder, int a, int b = -1) {
  char path[MAX_PATH];
  if (b < 0) {
    std::snprintf(path, sizeof path, format, folder.c_str(), a);
  } else {
    std::snprintf(path, sizeof path, format, folder.c_str(), a, b);
  }
  return path;
}

bool DesignScan() {
  return g_currentSheet.projectMode == kDesignMode && g_readingRun.subMode == kScanRun;
}

void SetRunFileNames() {
  ReadingRun& run = g_readingRun;
  const std::string& folder = g_readingPlaces.imageFolder;
  if (g_currentSheet.projectMode == kDesignMode && run.scanType == kScanPaired &&
      run.subMode == kStoredPageRun) {
    const int side = g_sheetDefinition.sheetCode == "0002" ? 2 : 1;
    run.pageFile = Format("%s\\SCAN%d_%d.BMP", folder, side, run.dpi);
    run.workFile = Format("%s\\CONV%d_%d.BMP", folder, side, run.dpi);
  } else {
    run.pageFile = Format("%s\\SCAN_%d.BMP", folder, run.dpi);
    run.workFile = Format("%s\\CONV_%d.BMP", folder, run.dpi);
  }
}

OutputDescriptionWriter g_descriptionWriter = nullptr;

// The output table's description, written when it is missing: 0, or -1
// after the message.
int EnsureOutputDescription() {
  const std::string path = std::string(GetSpecFolder()) + "\\" + g_sheetSettings.outputTable + ".spc";
  if (!g_descriptionWriter || FileExists(path.c_str()) == 0) return 0;
  return g_descriptionWriter();
}

void WriteReadEnd() {
  const std::string& path = g_readingPlaces.readEndPath;
  if (path.empty()) return;
  if (std::FILE* file = std::fopen(path.c_str(), "w")) {
    std::fputs("1\n", file);
    std::fclose(file);
  }
}

bool AllZeros(const std::string& digits) {
  return !digits.empty() && digits.find_first_not_of('0') == std::string::npos;
}

// Test reads write no record: their images are named apart, so that a
// stored record's images are never replaced by them.
bool TestRead() {
  const ReadingRun& run = g_readingRun;
  return run.testScan || DesignScan() || run.subMode == kAlignOnlyRun;
}

std::string ImageKey() { return TestRead() ? kTestKey : g_readingRun.keyValue; }

// Keeps the work file under the record's key (operation mode, ＩＮＴ６).
// 0, or -1 after the message.
int KeepPage() {
  const ReadingRun& run = g_readingRun;
  const bool paired = run.scanType == kScanPaired;
  const char* extension = g_sheetSettings.int7 == 1 ? "TIF" : "BMP";
  char path[MAX_PATH];
  if (paired) {
    std::snprintf(path, sizeof path, "%s\\%s_%d.%s", g_readingPlaces.imageFolder.c_str(),
                  ImageKey().c_str(), run.currentSide, extension);
  } else {
    std::snprintf(path, sizeof path, "%s\\%s.%s", g_readingPlaces.imageFolder.c_str(),
                  ImageKey().c_str(), extension);
  }
  if (g_sheetSettings.int7 == 1) return ConvertImageFileToBmp(run.workFile.c_str(), path, 0);
  return CopyFileToFolder(run.workFile.c_str(), path);
}

}  // namespace

void SetOutputDescriptionWriter(OutputDescriptionWriter writer) { g_descriptionWriter = writer; }

int FormatSerialNumber() {
  ReadingRun& run = g_readingRun;
  const std::string& key = g_sheetKeys.lastKeyName;
  const int slot = g_resultLogs.outputSlot;
  std::string last;
  if (slot > 0 && db_endpos(slot, key.c_str()) == 0) last = GetColumnText(slot, key.c_str());
  int width = 4;
  for (const SheetKeyItem& item : g_sheetKeys.items) {
    if (item.name == key && item.width > 0) width = item.width;
  }
  if (last.empty() || last.find_first_not_of("0123456789") != std::string::npos) {
    char first[32];
    std::snprintf(first, sizeof first, "%0*d", width, 1);
    run.autoNumber = first;
    return 0;
  }
  IncrementDigitString(&last[0]);
  run.autoNumber = last;
  if (AllZeros(last)) {
    run.runError = kRunNumbersUsedUp;
    run.errorField = key;
    run.errorValue = last;
    return -1;
  }
  return 0;
}

void AdvanceAutoNumber() {
  ReadingRun& run = g_readingRun;
  if (run.autoNumber.empty()) return;
  IncrementDigitString(&run.autoNumber[0]);
  if (AllZeros(run.autoNumber)) run.numbersUsedUp = 1;
}

void ReportRunError() {
  const ReadingRun& run = g_readingRun;
  const char* field = run.errorField.c_str();
  const char* value = run.errorValue.c_str();
  const char* detail = run.errorDetail.c_str();
  switch (run.runError) {
    case kRunDuplicateKey:
      ShowInfoMessage(kCaption, "「%s」“%s”はすでに登録されていますので、読み取り処理を中断しました。",
                      field, value);
      break;
    case kRunBlankField:
      if (run.errorDetail == "key") {
        ShowInfoMessage(kCaption,
                        "「キー項目欄：%s」には、何も記入されていません。\n「%s」に記入しない場合は、"
                        "シート設計画面の「%s欄」を右クリックして、“自動的に連番をつける”に設定して"
                        "ください。",
                        field, field, field);
      } else {
        ShowInfoMessage(kCaption, "「%s」には、何も記入されていません。\n読み取り処理を中断しました。",
                        field);
      }
      break;
    case kRunBelowMinimum:
      ShowInfoMessage(kCaption, "「%s」に“%s”に満たない値が記入されています。読み取った値＝“%s”\n"
                                "読み取り処理を中断しました。",
                      field, detail, value);
      break;
    case kRunAboveMaximum:
      ShowInfoMessage(kCaption, "「%s」に“%s”を越える値が記入されています。読み取った値＝“%s”\n"
                                "読み取り処理を中断しました。",
                      field, detail, value);
      break;
    case kRunRequiredBlank:
      ShowInfoMessage(kCaption, "「%s」には、何も記入されていません。\n読み取り処理を中断しました。",
                      field);
      break;
    case kRunCollationMiss:
      ShowInfoMessage(kCaption, "照合テーブル「%s」に“%s：%s”のデータは、登録されていません。",
                      g_sheetSettings.collationTable.c_str(), field, value);
      break;
    case kRunMasterStop:
      if (*value) {
        ShowInfoMessage(kCaption, "「%s」“%s”は、マスターファイル「%s」に登録されていませんので、"
                                  "処理を中断します。\n中断しない場合は、「シート定義」の"
                                  "【記入エラー発生時】で“処理を続行”に設定してください。",
                        field, value, detail);
      } else {
        ShowInfoMessage(kCaption, "「%s」が空白です。マスターファイル「%s」を検索できませんので、"
                                  "処理を中断します。\n中断しない場合は、「シート定義」の"
                                  "【記入エラー発生時】で“処理を続行”に設定してください。",
                        field, detail);
      }
      break;
    case kRunMasterMiss:
      if (*value) {
        ShowInfoMessage(kCaption, "「%s」“%s”は、マスターファイル「%s」に登録されていませんので、"
                                  "処理を中断します。\n処理を中断しないようにする場合は、シート設計"
                                  "画面で、「%s」の欄の「参照マスター定義」の「マスターデータを検索"
                                  "できない場合は処理を中断する」のチェックを外してください。",
                        field, value, detail, field);
      } else {
        ShowInfoMessage(kCaption, "「%s」が空白です。\n「%s欄」は、“空白不可”に設定されていますので、"
                                  "処理を中断します。\n処理を中断しないようにする場合は、「シート定義」"
                                  "の【記入エラー発生時】を“処理を続行”に設定してください。",
                        field, field);
      }
      break;
    case kRunSideOrder:
      ShowInfoMessage(kCaption, "%s", run.twoSheetSet
                                          ? "２枚目の認識処理は、１枚目の認識処理の直後に行ってください。"
                                          : "裏面の認識処理は、表面の認識処理の直後に行ってください。");
      break;
    case kRunWriteFailed:
      ShowInfoMessage(kCaption, "「%s」“%s”の読み取り結果を書き込めませんでしたので、読み取り処理を"
                                "中断しました。\n読み取ったイメージ“%s”は残してあります。",
                      field, value, run.pageFile.c_str());
      break;
    case kRunKeepFailed:
      ShowInfoMessage(kCaption, "「%s」“%s”の読み取り結果は書き込みましたが、読み取ったイメージを"
                                "保存できませんでしたので、読み取り処理を中断しました。\n"
                                "読み取ったイメージ“%s”は残してあります。",
                      field, value, run.pageFile.c_str());
      break;
    case kRunEndCodeFailed:
      ShowInfoMessage(kCaption, "読み取りを再開する位置を“%s”に書き込めませんでしたので、読み取り処理を"
                                "中断しました。\n「%s」“%s”までの読み取り結果は書き込んであります。",
                      detail, field, value);
      break;
    case kRunUnpairedPage:
      ShowInfoMessage(kCaption, "“%s”のページ数（%s）が奇数です。\n最後のページは、対になるページがありませんので、"
                                "読み取っていません。",
                      field, value);
      break;
    case kRunNumbersUsedUp:
      ShowInfoMessage(kCaption, "「%s」の連番が“%s”で桁数の上限に達しましたので、読み取り処理を"
                                "中断しました。\n登録済みのデータを上書きしないよう、連番の桁数を"
                                "増やしてください。",
                      field, value);
      break;
    default:
      break;
  }
}

int ReadSheetImage() {
  ReadingRun& run = g_readingRun;
  const bool operation = g_currentSheet.projectMode == kOperationMode;
  const bool paired = run.scanType == kScanPaired;
  ++run.sheetCount;
  ++run.totalSheets;
  if (FileExists(run.pageFile.c_str()) != 0) {
    ShowWorkbenchMessage(kCaption, "イメージファイルが作成されていません。\n"
                                   "イメージスキャナによる読み取り処理を行ってください。");
    return -1;
  }
  if (!(paired && operation) && !DesignScan()) {
    StageTimer timer(kStagePageCheck);
    if (LoadImageFile(run.pageFile.c_str()) != 0) return -1;
  }
  if (LoadSheetForReading(run.pageFile.c_str(), 0) != 0) return -1;

  bool failed = false;
  const bool testRead = DesignScan() || run.subMode == kAlignOnlyRun ||
                        (operation && run.testScan && run.confirmed == 0);
  run.written = 0;
  run.keyValue.clear();
  if (testRead) {
    failed = ComputeImageCompensation() < 0;
  } else {
    int read = 0;
    {
      StageTimer timer(kStageFields);
      read = paired && operation && ApplyDuplexSideSetting() != 0 ? -1 : ReadSheetFields();
    }
    if (read == 0) {
      StageTimer timer(kStageRecord);
      if (!run.testScan && (!paired || !operation || run.currentSide != 2)) {
        IncrementDigitString(&run.recordNumber[0]);
      }
      failed = WriteReadRecord() < 0;
      const std::string rule(100, '-');
      if (g_resultLogs.put != INVALID_HANDLE_VALUE) WriteTextCrLf(g_resultLogs.put, "%s\n", rule.c_str());
      if (g_resultLogs.err != INVALID_HANDLE_VALUE) WriteTextCrLf(g_resultLogs.err, "%s\n", rule.c_str());
    } else {
      failed = read < 0;
    }
  }
  FreeSheetBitmap();

  StageTimer timer(kStageImages);
  // A page that cannot be kept ends the run before the next sheet's page
  // takes the work file's place.
  if (operation && g_sheetSettings.int6 == 1 && !failed && KeepPage() != 0) {
    run.runError = kRunKeepFailed;
    run.errorField = g_sheetKeys.lastKeyName;
    run.errorValue = run.keyValue;
    failed = true;
  }
  const bool images = g_sheetSettings.recordImages == 1 || g_sheetSettings.ruledLines == 1;
  if (!DesignScan() && run.subMode != kAlignOnlyRun && !failed && images) {
    FreeCachedImage(run.workFile.c_str());
    HANDLE image = LoadImageCached(run.workFile.c_str());
    if (image) {
      if (g_sheetSettings.recordImages == 1 && !run.testScan) SaveRecordImage(image, 1);
      if (g_sheetSettings.ruledLines == 1 && CutFieldImages(image) != 0) failed = true;
    }
    FreeCachedImage(run.workFile.c_str());
  }
  // The page of a sheet whose record could not be stored stays for another
  // run; other pages go once their sheet is done, whatever it came to.
  if (operation && run.subMode != kAlignOnlyRun && run.runError != kRunWriteFailed &&
      run.runError != kRunKeepFailed) {
    DeleteFileChecked(run.pageFile.c_str());
  }
  if (!operation && run.subMode == kStoredPageRun && run.written) {
    char text[512];
    std::snprintf(text, sizeof text,
                  "読み取った内容は、データベース“%s”のテーブル“%s”に出力しました。",
                  g_currentSheet.outputDatabase.c_str(), g_sheetSettings.outputTable.c_str());
    ShowRunMessage(text);
  }
  return failed || run.runError == kRunEndCodeFailed ? -1 : 0;
}

int RunSheetReading() {
  ReadingRun& run = g_readingRun;
  const bool operation = g_currentSheet.projectMode == kOperationMode;
  run.sheetCount = 0;
  run.refusedSheets = run.refusedPages = 0;
  run.pageNumber = 0;
  run.runError = 0;
  for (double& seconds : run.stageSeconds) seconds = 0;
  run.errorField.clear();
  run.errorValue.clear();
  run.errorDetail.clear();
  run.recordNumber = "000000";
  run.numbersUsedUp = 0;
  run.compensation[0] = run.compensation[1] = run.compensation[2] = ImageCompensation();
  run.scanType = g_sheetSettings.scanType;
  run.twoSheetSet = g_sheetSettings.twoSheetSet;
  if (DesignScan()) ClearFieldResults();
  const int multiValue = CheckMasterOutputFields();
  if (multiValue == 255) return -1;
  run.multiValue = multiValue;
  const int references = !operation && run.subMode == kStoredPageRun ? LoadReferenceMarks()
                                                                      : LoadReferenceMarksBothSides();
  if (references != 0) return -1;
  SetRunFileNames();
  if (!DesignScan()) {
    if (EnsureOutputDescription() != 0) return -1;
    if (OpenResultLogs(run.testScan) != 0 || OpenMasterLookups() != 0) {
      CloseMasterLookups();
      CloseResultLogs();
      return -1;
    }
    if (KeyIsNumbered() && run.autoNumber.empty() && FormatSerialNumber() != 0) {
      ReportRunError();
      CloseMasterLookups();
      CloseResultLogs();
      return -1;
    }
  }
  if (run.subMode == kScanRun) {
    const bool landscape = g_sheetSettings.orientation == "横";
    const int width = landscape ? g_sheetSettings.heightMm : g_sheetSettings.widthMm;
    const int height = landscape ? g_sheetSettings.widthMm : g_sheetSettings.heightMm;
    StartScanner(width, height);
  } else {
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    ReadSheetImage();
    SetCursor(previous);
  }
  ReportRunError();
  if (!DesignScan()) {
    CloseMasterLookups();
    if (operation && !run.testScan) WriteReadEnd();
    CloseResultLogs();
  }
  if (!operation && run.subMode == kStoredPageRun && !run.testScan && run.written) {
    ReportReadingResult();
  }
  return 0;
}

void ReportReadingResult() {
  const CornerMarkPositions& m = g_cornerMarks;
  const int mode = g_sheetSettings.compensationMode;
  const char* brightness =
      g_sheetSettings.scannerScreen == 1
          ? "記入した部分がくっきり写っていない場合は、スキャナーの設定画面で、「明るさ」を濃く設定"
            "してください。"
          : "記入した部分がくっきり写っていない場合は、画面右上のボタンで、スキャナーの「明るさ」を"
            "濃く設定してください。";
  const char* head =
      "文字認識処理を行いました。\n読み取られた内容が正しく認識されているかを入力修正画面で確認"
      "してください。\n誤認識が多い場合は、青い矢印のボタンでイメージの位置合わせ（イメージ上の"
      "文字が記入欄の枠に収まるように）を行ってください。\n";
  if (mode == 0) {
    ShowInfoMessage(kCaption, "%s「補正機能」が“無効”に設定されていますので、傾きやズレの補正は"
                              "行いません。", head);
    return;
  }
  if (!m.topLeft.found()) return;
  char rotated[128] = "";
  if (g_readingRun.rotation != 0) {
    std::snprintf(rotated, sizeof rotated, " ／ 補正前の傾き＝%.2f度", g_readingRun.rotation);
  }
  const ImageCompensation& c = CurrentCompensation();
  char marks[512];
  if (mode == 3) {
    std::snprintf(marks, sizeof marks,
                  "\n\nＸ１＝%d Ｙ１＝%d ／ Ｘ２＝%d Ｙ２＝%d ／ Ｘ３＝%d Ｙ３＝%d\n傾き＝%.2f度%s\n"
                  "横幅＝%d  高さ＝%d ／ 横幅率＝%.2f  高さ率＝%.2f",
                  m.topLeft.x, m.topLeft.y, m.topRight.x, m.topRight.y, m.bottomLeft.x,
                  m.bottomLeft.y, m.tilt, rotated, m.width, m.height, c.widthRatio, c.heightRatio);
  } else if (mode == 2) {
    std::snprintf(marks, sizeof marks,
                  "\n\nＸ１＝%d Ｙ１＝%d ／ Ｘ２＝%d Ｙ２＝%d\n傾き＝%.2f度%s\n"
                  "横幅＝%d  高さ＝%d ／ 横幅率＝%.2f",
                  m.topLeft.x, m.topLeft.y, m.topRight.x, m.topRight.y, m.tilt, rotated, m.width,
                  m.height, c.widthRatio);
  } else {
    std::snprintf(marks, sizeof marks, "\n\nＸ１＝%d Ｙ１＝%d ／ %d × %d", m.topLeft.x, m.topLeft.y,
                  m.width, m.height);
  }
  const ReferenceMarks& r = CurrentReferences();
  if (r.x1 == kNotFound || r.y1 == kNotFound) {
    const char* hint = mode == 1 ? "\n読み取ったイメージが傾く場合は、メインメニューの 「ＯＣＲシート"
                                   "定義」 で、【補正】 を“２点補正”にチェックしてください。"
                                 : "";
    ShowInfoMessage(kCaption, "%s正しく認識されていたら〔基準位置登録〕を押して、イメージの正しい"
                              "位置を登録してください。%s%s",
                    head, hint, marks);
  } else if (c.shiftX != 0 || c.shiftY != 0) {
    ShowInfoMessage(kCaption, "イメージの基準位置とのズレが、Ｘ方向＝%d、Ｙ方向＝%d 生じていますので、"
                              "イメージの位置を自動補正して文字認識を行いました。%s\n\n%s",
                    c.shiftX, c.shiftY, marks, brightness);
  } else {
    ShowInfoMessage(kCaption, "イメージの基準位置とのズレはありません。%s\n\n%s", marks, brightness);
  }
}
