// The column tables of the grid editors (grid_columns.h), in the order the
// grids show them.
#include "designer/grid_columns.h"

#include <iterator>

namespace {

constexpr bool kNumber = true;
constexpr bool kText = false;

constexpr char kTitlePlaces[] = "←=左側に表示,↑=上側に表示,→=右側に表示,↓=下側に表示,×=表示しない";
constexpr char kFieldNameGuide[] = "書き込みを行う項目(フィールド)の名前";
constexpr char kBlankRule[] = "1=空白許可,2=空白不可";
constexpr char kThresholds[] =
    "-1=認識対象外, 1, 2, 3, 4, 5, 6, 7, 8, 9,10=標準,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27,28,29,"
    "30,31,32,33,34,35,36,37,38,39,40,41,42,43,44,45,46,47,48,49,50,51,52,53,54,55,56,57,58,59,60,(15)";
constexpr char kColours[] = "黒,青,赤,紫,緑,水,黄";
constexpr char kFrameLines[] = "無,実,点";

// Columns that several grids show alike.
constexpr GridColumn kCode = {"No.", "領域コード", kText, 4, 4, 'X', 'L', "", ""};
constexpr GridColumn kWidth = {"横幅", "横幅", kNumber, 4, 4, 'N', 'R', "", ""};
constexpr GridColumn kHeight = {"高さ", "高さ", kNumber, 4, 4, 'N', 'R', "", ""};
constexpr GridColumn kX = {"Ｘ", "Ｘ座標", kNumber, 4, 4, 'N', 'R', "", ""};
constexpr GridColumn kY = {"Ｙ", "Ｙ座標", kNumber, 4, 4, 'N', 'R', "", ""};
constexpr GridColumn kArrayStart = {"配列開始", "配列開始", kNumber, 3, 8, 'N', 'R', "", ""};
constexpr GridColumn kArrayCount = {"配列個数", "配列個数", kNumber, 3, 8, 'N', 'R', "", ""};
constexpr GridColumn kArrayGap = {"配列行間", "配列行間", kNumber, 3, 8, 'N', 'R', "", ""};
constexpr GridColumn kSize = {"ｻｲｽﾞ", "サイズ", kNumber, 4, 4, 'N', 'R', "", ""};
constexpr GridColumn kCount = {"文字数", "文字数", kNumber, 6, 6, 'N', 'R', "", ""};
constexpr GridColumn kSort = {"種別", "種別", kText, 4, 4, 'X', 'L', "", ""};
constexpr GridColumn kInput = {"入力", "入力許可", kText, 2, 4, 'X', 'L', "", ""};
constexpr GridColumn kTextColour = {"文字色", "文字色", kText, 2, 6, 'X', 'S', "", "黒,青,赤,紫,緑,水,黄,白"};
constexpr GridColumn kChoiceColour = {"文字色", "文字色", kText, 2, 6, 'X', 'S', "", kColours};
constexpr GridColumn kTitlePlace = {"位置", "タイトル位置", kText, 4, 4, 'X', 'S', "", kTitlePlaces};

constexpr GridColumn kWriteIn[] = {
    kCode,
    {"項　目　名", "領域名", kText, 30, 20, 'K', 'L', kFieldNameGuide, ""},
    {"タイトル（質問）", "タイトル", kText, 200, 30, 'K', 'L', "", ""},
    kTitlePlace,
    {"枠", "タイトル枠", kNumber, 2, 2, 'c', 'L', "", ""},
    kSize,
    {"文字種", "全半角", kText, 4, 6, 'K', 'S', "", "全角,半角"},
    kCount,
    {"型", "文字型", kText, 4, 4, 'K', 'S', "データの型", "文字,数値"},
    {"編集", "編集", kText, 4, 4, 'X', 'L', "", "左詰,０埋,Ｂ除,右詰,ﾁｪｯｸ,BMAP"},
    {"認識", "タイプ", kText, 4, 4, 'X', 'L', "", "一括"},
    kWidth,
    kHeight,
    {"空き", "Ｂサイズ", kNumber, 3, 4, 'N', 'R', "", ""},
    {"最大数", "少数部桁数", kNumber, 3, 6, 'N', 'R', "いくつまでのチェックを許すかを設定 (複数チェック不可＝1)", ""},
    {"記入漏れ", "空白不可", kNumber, 1, 8, 'N', 'R', "記入漏れチェック", kBlankRule},
    {"形式", "マーク型", kNumber, 1, 4, 'c', 'S', "", ""},
    {"しきい値", "しきい値", kNumber, 4, 8, 'N', 'R',
     "チェック(マーク)の濃度のしきい値を設定（値が小さいほど認識しやすい 1～100）", kThresholds},
    kX,
    kY,
    kArrayStart,
    kArrayCount,
    kArrayGap,
    {"配列番号", "配列番号", kNumber, 3, 8, 'N', 'R', "", ""},
    {"最　小　値", "最小値", kText, 20, 10, 'X', 'L', "書き込みを許す最小の値", ""},
    {"最　大　値", "最大値", kText, 20, 10, 'X', 'L', "書き込みを許す最大の値", ""},
    {"変 換 の 条 件", "変換条件", kText, 255, 20, 'K', 'L',
     "読み取ったデータを変換して書き込む場合の条件（例：1=男,2=女)", ""},
    {"選 択 肢 の 内 容", "重ね文字", kText, 255, 60, 'X', 'L', "", ""},
    {"ﾌｫﾝﾄ", "選択肢フォント", kText, 2, 4, 'X', 'L', "", "Ｍ=明朝,Ｇ=ゴシック,PM=Ｐ明朝,PG=Ｐゴシック"},
    {"外枠", "網掛け", kNumber, 1, 4, 'c', 'S', "", ""},
    {"位置", "背景色", kText, 2, 4, 'X', 'S', "選択肢を印字する位置（マーク内に印字する場合は“Ｍ”）",
     "↑=上側に印字,→=右側に印字,←=左側に印字,↓=下側に印字,Ｃ=中央に印字(ﾄﾞﾛｯﾌﾟｱｳﾄｶﾗｰ用),"
     "Ｍ=マーク型　(ﾄﾞﾛｯﾌﾟｱｳﾄｶﾗｰ用),×=印字しない,(7)"},
    {"認識対象文字種", "有効文字種", kText, 12, 14, 'X', 'L', "", ""},
    {"参照テーブル", "参照テーブル", kText, 40, 10, 'X', 'L', "", ""},
    {"キー項目名", "キー項目名", kText, 40, 10, 'X', 'L', "", ""},
    {"取得項目名", "取得項目名", kText, 40, 10, 'X', 'L', "", ""},
    {"書込項目名", "書込項目名", kText, 40, 10, 'X', 'L', "", ""},
    {"アイコン", "アイコン", kText, 100, 10, 'X', 'L', "", ""},
    kSort,
    kInput,
    {"重複", "重複", kText, 1, 4, 'X', 'L', "", ""},
    {"文字種別", "文字種別", kText, 8, 10, 'X', 'L', "", "Ｍ=明朝,Ｇ=ゴシック"},
    {"：", "文字太", kNumber, 2, 2, 'N', 'R', "", ""},
    kTextColour,
    {"文字数／行", "行文字数", kNumber, 4, 10, 'N', 'R', "", ""},
};

constexpr GridColumn kTextItems[] = {
    kCode,
    {"テ　キ　ス　ト", "重ね文字", kText, 255, 60, 'K', 'L', "", ""},
    {"タイトル", "タイトル", kText, 200, 20, 'K', 'L', "", ""},
    kTitlePlace,
    {"枠", "タイトル枠", kText, 2, 2, 'K', 'R', "", kFrameLines},
    kSize,
    kCount,
    kWidth,
    kHeight,
    kX,
    kY,
    kSort,
    {"ﾌｫﾝﾄ", "文字太", kNumber, 4, 4, 'N', 'R', "", ""},
    kInput,
    {"塗込", "マーク型", kNumber, 1, 4, 'N', 'R', "", ""},
    kArrayStart,
    kArrayCount,
    kArrayGap,
    kTextColour,
};

constexpr GridColumn kOutputSettings[] = {
    kCode,
    {"項 目 名", "領域名", kText, 30, 10, 'K', 'L', kFieldNameGuide, ""},
    {"ﾏｰｸ数", "文字数", kNumber, 6, 6, 'N', 'R', "選択肢(マーク)の数", ""},
    {"空き", "Ｂサイズ", kNumber, 3, 4, 'N', 'R', "マーク(チェック)欄とマーク(チェック)欄の間隔〔単位：㎜〕",
     " 3, 4, 5, 6, 7, 8, 9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27,28,29,30,31,(8)"},
    {"最大数", "少数部桁数", kNumber, 3, 6, 'N', 'R', "いくつまでのマーク(チェック)を許すかを設定 (複数マーク不可＝1)",
     ""},
    {"記入漏れ", "空白不可", kNumber, 1, 8, 'N', 'R', "記入が必須の欄は“2”", kBlankRule},
    {"しきい値", "しきい値", kNumber, 4, 8, 'N', 'R',
     "マーク(チェック)の濃度のしきい値を設定（値が小さいほど認識しやすい 1～100）", kThresholds},
    {"選 択 肢 の 内 容", "重ね文字", kText, 255, 60, 'X', 'L', "", ""},
    {"位置", "背景色", kText, 2, 4, 'X', 'S', "選択肢を印字する位置（マーク内に印字する場合は“Ｍ”）",
     "Ｍ=マーク型(ドロップアウトカラー用),↑=上側に印字,→=右側に印字,←=左側に印字,×=印字しない,(5)"},
    {"文字ｻｲｽﾞ", "サイズ", kNumber, 4, 8, 'N', 'R', "", ""},
    {"文字色", "文字色", kText, 2, 6, 'X', 'S', "選択肢や質問の文字の色", kColours},
    kX,
    kY,
};

constexpr GridColumn kDescriptionTexts[] = {
    kCode,
    {"説　明　文", "重ね文字", kText, 255, 86, 'K', 'L', "", ""},
    {"文字ｻｲｽﾞ", "サイズ", kNumber, 2, 8, 'N', 'R', "", ""},
    {"文字数／行", "文字数", kNumber, 3, 10, 'N', 'R',
     "シートの説明文の幅(１行の文字数)を半角の文字数で設定してください。", ""},
    {"文字色", "文字色", kText, 2, 6, 'X', 'S', "説明文の文字の色", kColours},
    kX,
    kY,
};

constexpr GridColumn kQuestionTexts[] = {
    {"No.", "質問コード", kText, 4, 4, 'X', 'L', "", ""},
    {"項 目 名", "項目名", kText, 30, 10, 'K', 'L', "", ""},
    {"質　問　内　容", "質問内容", kText, 200, 100, 'K', 'L', "", ""},
    {"文字数／行", "行文字数", kNumber, 3, 10, 'N', 'R',
     "シートの質問の幅(１行の文字数)を全角の文字数で設定してください。", ""},
};

constexpr GridColumn kEnclosureFrames[] = {
    kCode,
    {"線種", "タイトル枠", kText, 2, 4, 'K', 'S', "", kFrameLines},
    kWidth,
    kHeight,
    kX,
    kY,
    {"開始", "配列開始", kNumber, 4, 4, 'N', 'R', "行枠の開始番号", ""},
    {"行数", "配列個数", kNumber, 4, 4, 'N', 'R', "行枠の数", ""},
    {"行間", "配列行間", kNumber, 4, 4, 'N', 'R', "行枠と行枠の間隔", ""},
    {"印字位置", "しきい値", kNumber, 4, 8, 'N', 'R', "番号を印字する位置", "1=枠の左,2=枠内の中心"},
};

constexpr GridColumn kFieldOrder[] = {
    kCode,
    {"項　目　名", "領域名", kText, 30, 30, 'K', 'L', "", ""},
    {"タ イ ト ル (質 問 項 目)", "タイトル", kText, 200, 90, 'K', 'L', "", ""},
    kChoiceColour,
};

constexpr GridColumn kTextOrder[] = {
    kCode,
    {"テ　キ　ス　ト", "重ね文字", kText, 255, 120, 'K', 'L', "", ""},
    {"タイトル", "タイトル", kText, 200, 20, 'K', 'L', "", ""},
    kSize,
    kCount,
    kWidth,
    kHeight,
    kChoiceColour,
};

// The move column is a choice box: a click turns "●" (move) and "×".
constexpr GridColumn kMoveMark = {"移動", "表面裏面", kNumber, 1, 4, 'c', 'S', "", "●,×"};

constexpr GridColumn kFieldMove[] = {
    kCode,
    kMoveMark,
    {"項　目　名", "領域名", kText, 30, 20, 'K', 'L', "", ""},
    {"タ イ ト ル", "タイトル", kText, 200, 62, 'K', 'L', "", ""},
};

constexpr GridColumn kTextMove[] = {
    kCode,
    kMoveMark,
    {"メ ッ セ ー ジ", "重ね文字", kText, 255, 62, 'K', 'L', "", ""},
    {"タ イ ト ル", "タイトル", kText, 200, 20, 'K', 'L', "", ""},
};

}  // namespace

const GridColumns kWriteInFieldColumns = {kWriteIn, std::size(kWriteIn), '0'};
const GridColumns kTextItemColumns = {kTextItems, std::size(kTextItems), 'T'};
const GridColumns kOutputSettingsColumns = {kOutputSettings, std::size(kOutputSettings), '0'};
const GridColumns kDescriptionTextColumns = {kDescriptionTexts, std::size(kDescriptionTexts), 'T'};
const GridColumns kQuestionTextColumns = {kQuestionTexts, std::size(kQuestionTexts), 0};
const GridColumns kEnclosureFrameColumns = {kEnclosureFrames, std::size(kEnclosureFrames), 'T'};
const GridColumns kFieldOrderColumns = {kFieldOrder, std::size(kFieldOrder), '0'};
const GridColumns kTextOrderColumns = {kTextOrder, std::size(kTextOrder), 'T'};
const GridColumns kFieldMoveColumns = {kFieldMove, std::size(kFieldMove), '0'};
const GridColumns kTextMoveColumns = {kTextMove, std::size(kTextMove), 'T'};
