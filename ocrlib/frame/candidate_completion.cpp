// Completion of a candidate list from fixed tables of look-alike characters,
// and the class codes of the stroke models as Shift-JIS characters.
//
// Each table row holds a class and then, in order, the characters most often
// confused with it; a short answer list is filled up from the row of its
// first candidate (or, when nothing was recognised, from the row of the
// closest stroke model, or the table's "nothing" row), and the answer's
// confidence comes from the class's reliability value. Shift-JIS constants
// are spelled as bytes: the fuzz build's compiler cannot convert literals.
#include <algorithm>
#include <iterator>

#include "ocrlib/frame/frame_internal.h"
#include "ocrlib/strokes/strokes_internal.h"

namespace {

constexpr int kRowLength = 15;
constexpr uint8_t kRowEnd = 0xFF;
constexpr uint8_t kFullWidthLead = 0x82;
constexpr uint8_t kSymbolLead = 0x81;
constexpr uint8_t kKanaLead = 0x83;
constexpr int kFullWidthOffset = 31;  // '0' + 31 = 0x4F "０", 'A' + 31 = 0x60 "Ａ"
constexpr uint16_t kFullPlus = 0x817B, kFullMinus = 0x817C;
constexpr uint16_t kVoicedMark = 0x814A, kSemiVoicedMark = 0x814B, kLongVowel = 0x815B;
constexpr uint8_t kVoicedByte = 0xFC, kSemiVoicedByte = 0xFD;  // in the kana rows

// ASCII rows: digits, letters, '+' and '-' (a '-' of the digits rows is a
// filler that no digit mask lets through).
constexpr const char* kDigitRows[] = {
    "0486371295-----", "1036897452-----", "2783145960-----", "3279580146-----",
    "4892503617-----", "5396872410-----", "6085492137-----", "7902513846-----",
    "8950364217-----", "9847035216-----", "8564920371-----"};
constexpr const char* kCapitalRows[] = {
    "AHXQGWRMVYOZBDF", "BZQOGRDPJSWFTUK", "CLGDBIVEQZMFOUS", "DQVOJPBGMTUHZIN",
    "EZBFUWKMJOIQNYX", "FIPJKEYVMWXGUCB", "GUOQECIYHFSVBRA", "HMNAWVIFYUXSDGJ",
    "IYTLXFUJPEWMGHD", "JIOSYTVWUHFZPCG", "KXWRNZYMFIUCVGO", "LMIECUFYKAXPNQZ",
    "MHAFNWKRZESDXV-", "NWMUYHVJASITXFL", "OQFDBWPSYUJVMNG", "PDFRQBAVZXNMSOJ",
    "QBODRWGFESPMCVU", "RIZQAGXVFPNJSDO", "SJROIUGBHWYVZLN", "TYHVIWFJXNDLSOU",
    "UVWDJCLXGYKIFQE", "VODZQJYPGIXSAWK", "WNHUSM---------", "XKWTZFN--------",
    "YXTVMIJLUKNDCWE", "ZEBRNCIULOPFAYW", "QGZSOBWVRDMFIEP"};
// Rows 0..9 the digits, 10..35 the letters, 36 "+", 37 "-", 38 nothing; the
// rows of W and X end early.
constexpr const char* kAlnumRows[] = {
    "0D4V8O3UQ6C2B9G", "1036789I425YTUX", "27I83Z14LCQ9RXV", "32J79BZ5801IOWU",
    "4982Q5XUGKYZW06", "5S39J68742FOYVI", "6G8054OBQ9D13SC", "792138504MZJYTR",
    "8BZ950O324SDG6J", "9847P0D3QAG5S1R", "A4982H3XQ0WRGMY", "B803QZ6OG945RDP",
    "C064L5928IBDGVE", "D08VQ94O6PB1327", "E65Z43B28FKWMJI", "F5481726PI0JKEV",
    "G650498OUQE2C71", "HMN2A4WV7I81F5Y", "I71254Y986TL3FU", "J573I291O8VSW6H",
    "K4W5RNXZYM06279", "L642MIE1CU0F5KA", "MHA5NW72FKS9E83", "NWMU23YH45V89A1",
    "O08Q63FB52DWSP9", "P89D06F7452QV3X", "Q80BOD426W9GEFS", "R8I52ZAG4VQ73FJ",
    "S5936824OR7IGJU", "T72+419Y56V8WFO", "U4V03W2DJC6X59G", "V087O3D9645PZJ2",
    "W3N2HU5M\xFF", "X4K27TW5NFZ\xFF", "Y45819X7TV+206U", "Z867BE5230RNI1C",
    "+4K5H9FZXTNYR2U", "-0154HM289FKI6+", "Q8592SGZ674WBR3"};

// Katakana rows by kana class (the 46 kana, "゛", "゜", "ー", nothing): trail
// bytes of lead 0x83, 0xFC "゛", 0xFD "゜". The "ー" row starts with "ポ".
constexpr uint8_t kKanaRows[][kRowLength] = {
    {0x41, 0x40, 0x6B, 0x7D, 0x52, 0x5E, 0x8D, 0x75, 0x63, 0x88, 0x56, 0x4E, 0x92, 0x74, 0x65},  // アァヌマコタロブツヨシクヲフテ
    {0x43, 0x42, 0x50, 0x4A, 0x49, 0x69, 0x4E, 0x41, 0x54, 0x76, 0xFC, 0x84, 0x5A, 0x65, 0x6C},  // イィケカオナクアサプ゛ヤセテネ
    {0x45, 0x44, 0x5D, 0x50, 0x4E, 0x5E, 0x75, 0x54, 0x94, 0x4A, 0x89, 0x7A, 0x63, 0x8D, 0x53},  // ウゥゾケクタブサヴカラホツロゴ
    {0x47, 0x46, 0x82, 0x86, 0x7D, 0x65, 0x58, 0x49, 0x7E, 0x7A, 0x5A, 0x52, 0x6B, 0x63, 0x88},  // エェモユマテスオミホセコヌツヨ
    {0x49, 0x48, 0x4C, 0x6C, 0x59, 0x7A, 0x54, 0x4A, 0x60, 0x47, 0x7B, 0x88, 0x86, 0x4D, 0x84},  // オォキネズホサカチエボヨユギヤ
    {0x4A, 0x95, 0x41, 0x49, 0x84, 0x4B, 0x54, 0x4E, 0x5A, 0x45, 0x51, 0x8D, 0x76, 0x5C, 0x4F},  // カヵアオヤガサクセウゲロプソグ
    {0x4C, 0x4D, 0x60, 0x54, 0x49, 0x82, 0x7C, 0x5E, 0x6C, 0x92, 0x84, 0x7B, 0x55, 0x7A, 0x61},  // キギチサオモポタネヲヤボザホヂ
    {0x4E, 0x8F, 0x5E, 0x52, 0x74, 0x50, 0x54, 0x6B, 0x76, 0x45, 0x41, 0x86, 0x4F, 0x69, 0x94},  // クワタコフケサヌプウアユグナヴ
    {0x50, 0x96, 0x51, 0x54, 0x4F, 0x60, 0x49, 0x94, 0x4A, 0x4B, 0x55, 0x6C, 0x8D, 0x4E, 0x58},  // ケヶゲサグチオヴカガザネロクス
    {0x52, 0x86, 0x74, 0x6B, 0x49, 0x88, 0x53, 0x4E, 0x63, 0x92, 0x4C, 0x69, 0x47, 0x75, 0xFC},  // コユフヌオヨゴクツヲキナエブ゛
    {0x54, 0x4B, 0x55, 0x49, 0x94, 0x60, 0x88, 0x4D, 0x50, 0x80, 0x63, 0x4A, 0x5B, 0x4C, 0x41},  // サガザオヴチヨギケムツカゼキア
    {0x56, 0x63, 0x89, 0x6A, 0x93, 0x7E, 0x57, 0x50, 0x7A, 0x82, 0x88, 0x41, 0x8B, 0x5A, 0xFC},  // シツラニンミジケホモヨアルセ゛
    {0x58, 0x86, 0x6B, 0x47, 0x59, 0x74, 0x49, 0x82, 0x76, 0x80, 0x5E, 0x45, 0x6C, 0x41, 0x7A},  // スユヌエズフオモプムタウネアホ
    {0x5A, 0x5B, 0x71, 0x72, 0x8D, 0x84, 0x45, 0x73, 0x54, 0x4A, 0x80, 0x8B, 0x5E, 0x5D, 0x67},  // セゼヒビロヤウピサカムルタゾト
    {0x5C, 0x63, 0x93, 0x5D, 0x4E, 0x8A, 0x8F, 0x74, 0x64, 0xFC, 0x92, 0x84, 0xFD, 0x56, 0x45},  // ソツンゾクリワフヅ゛ヲヤ゜シウ
    {0x5E, 0x6B, 0x41, 0x92, 0x60, 0x5F, 0x88, 0x54, 0xFD, 0x4C, 0x5C, 0x81, 0x61, 0x65, 0x8D},  // タヌアヲチダヨサ゜キソメヂテロ
    {0x60, 0x61, 0x5E, 0x55, 0x7A, 0x69, 0x65, 0x6B, 0x49, 0x4C, 0x92, 0x6C, 0x76, 0x75, 0x82},  // チヂタザホナテヌオキヲネプブモ
    {0x63, 0x62, 0x64, 0x56, 0x5D, 0x93, 0x5C, 0x8F, 0x8A, 0x57, 0x45, 0xFD, 0x88, 0x69, 0x5E},  // ツッヅシゾンソワリジウ゜ヨナタ
    {0x65, 0x41, 0x60, 0x82, 0x66, 0x5A, 0x4A, 0x89, 0x50, 0x5E, 0x7E, 0x84, 0x8D, 0x54, 0x81},  // テアチモデセカラケタミヤロサメ
    {0x67, 0x8B, 0x68, 0x8C, 0x60, 0x84, 0x58, 0x43, 0xFC, 0x5A, 0x6B, 0x54, 0x6E, 0x88, 0x4A},  // トルドレチヤスイ゛セヌサハヨカ
    {0x69, 0x75, 0x54, 0x76, 0x84, 0x81, 0x60, 0x53, 0x94, 0x4C, 0x49, 0x61, 0x55, 0x65, 0x92},  // ナブサプヤメチゴヴキオヂザテヲ
    {0x6A, 0xFC, 0x93, 0x86, 0x65, 0x7E, 0x6C, 0x56, 0x6E, 0x7C, 0x52, 0x79, 0x47, 0x80, 0xFD},  // ニ゛ンユテミネシハポコペエム゜
    {0x6B, 0x5E, 0x7D, 0x58, 0x6C, 0x84, 0x81, 0x59, 0x88, 0x92, 0x60, 0x65, 0x4C, 0x5B, 0x54},  // ヌタマスネヤメズヨヲチテキゼサ
    {0x6C, 0x61, 0x4D, 0x59, 0x7A, 0x82, 0x7C, 0x49, 0x60, 0x4C, 0x66, 0x88, 0x92, 0x55, 0x6B},  // ネヂギズホモポオチキデヨヲザヌ
    {0x6D, 0xFD, 0x63, 0x5D, 0x89, 0x93, 0x81, 0x74, 0x6B, 0x5C, 0x8B, 0x43, 0x92, 0x4E, 0x6A},  // ノ゜ツゾランメフヌソルイヲクニ
    {0x6E, 0x77, 0xFC, 0x70, 0x8D, 0x80, 0x8A, 0x8F, 0x45, 0x50, 0xFD, 0x4E, 0x68, 0x69, 0x67},  // ハヘ゛パロムリワウケ゜クドナト
    {0x71, 0x72, 0x5A, 0x82, 0x63, 0x73, 0x8C, 0x5B, 0x8D, 0x81, 0x7E, 0x7D, 0xFD, 0x84, 0xFC},  // ヒビセモツピレゼロメミマ゜ヤ゛
    {0x74, 0x75, 0x50, 0x41, 0x54, 0x69, 0x8F, 0x4E, 0x52, 0x76, 0x45, 0x63, 0x43, 0x60, 0x65},  // フブケアサナワクコプウツイチテ
    {0x77, 0x78, 0x6E, 0x79, 0x67, 0x84, 0xFD, 0xFC, 0x8F, 0x50, 0x6C, 0x4D, 0x49, 0x4E, 0x74},  // ヘベハペトヤ゜゛ワケネギオクフ
    {0x7A, 0x7B, 0x7C, 0x49, 0x6C, 0x54, 0x88, 0x4A, 0x63, 0x56, 0x65, 0x45, 0x4C, 0x84, 0x5A},  // ホボポオネサヨカツシテウキヤセ
    {0x7D, 0x6B, 0x41, 0x58, 0x7E, 0x6C, 0x82, 0x8D, 0x65, 0x4C, 0xFC, 0x47, 0x8F, 0x84, 0x4E},  // マヌアスミネモロテキ゛エワヤク
    {0x7E, 0x56, 0x88, 0x6A, 0x52, 0x65, 0x8D, 0x56, 0x89, 0x65, 0x63, 0x5D, 0x92, 0x50, 0x57},  // ミシヨニコテロシラテツゾヲケジ
    {0x80, 0x50, 0x8D, 0x82, 0x8F, 0x60, 0x56, 0x5E, 0x6E, 0x63, 0xFC, 0x72, 0x7A, 0x5C, 0x47},  // ムケロモワチシタハツ゛ビホソエ
    {0x81, 0x6B, 0x67, 0x43, 0x58, 0x84, 0x60, 0x6C, 0x86, 0x4D, 0x80, 0x49, 0x92, 0x69, 0x5E},  // メヌトイスヤチネユギムオヲナタ
    {0x82, 0x7A, 0x5A, 0x54, 0x60, 0x50, 0x4D, 0x6B, 0x49, 0x4C, 0x84, 0x7B, 0x61, 0x5E, 0x4A},  // モホセサチケギヌオキヤボヂタカ
    {0x84, 0x83, 0x5A, 0x4A, 0x41, 0x54, 0x49, 0x7D, 0x60, 0x8D, 0x80, 0x7A, 0x61, 0x69, 0x65},  // ヤャセカアサオマチロムホヂナテ
    {0x86, 0x85, 0x81, 0x52, 0x47, 0x5C, 0x93, 0x56, 0x6A, 0xFC, 0x8D, 0x69, 0x63, 0x88, 0x58},  // ユュメコエソンシニ゛ロナツヨス
    {0x88, 0x87, 0x92, 0x5E, 0x60, 0x6C, 0x63, 0x49, 0x8D, 0x89, 0x41, 0x81, 0x6B, 0x69, 0x4C},  // ヨョヲタチネツオロラアメヌナキ
    {0x89, 0x76, 0x53, 0x75, 0x66, 0x65, 0x45, 0x41, 0x7E, 0x6C, 0x56, 0x63, 0x4E, 0x5E, 0x52},  // ラプゴブデテウアミネシツクタコ
    {0x8A, 0x5C, 0xFC, 0x50, 0x63, 0x8F, 0x5E, 0x60, 0x4E, 0x45, 0x54, 0x8D, 0x81, 0x69, 0x92},  // リソ゛ケツワタチクウサロメナヲ
    {0x8B, 0x8D, 0x6F, 0x63, 0x70, 0x5A, 0x56, 0x50, 0x82, 0x93, 0x6E, 0x41, 0x86, 0x76, 0x7A},  // ルロバツパセシケモンハアユプホ
    {0x8C, 0x71, 0x80, 0x82, 0x8D, 0xFD, 0xFC, 0x8B, 0x93, 0x5A, 0x56, 0x86, 0x47, 0x7D, 0x6D},  // レヒムモロ゜゛ルンセシユエマノ
    {0x8D, 0x5A, 0x4A, 0x84, 0xFD, 0x8F, 0x45, 0x7D, 0x4E, 0x6A, 0x60, 0x63, 0x54, 0xFC, 0x5E},  // ロセカヤ゜ワウマクニチツサ゛タ
    {0x8F, 0x8E, 0x4E, 0x54, 0x4A, 0x45, 0x50, 0x63, 0x5E, 0x52, 0x74, 0x5C, 0x5A, 0x8D, 0x94},  // ワヮクサカウケツタコフソセロヴ
    {0x92, 0x56, 0x88, 0x5E, 0x63, 0x49, 0x60, 0x69, 0x75, 0x89, 0x41, 0x4A, 0x8D, 0x54, 0x6B},  // ヲシヨタツオチナブラアカロサヌ
    {0x93, 0x5C, 0x63, 0x56, 0xFC, 0x57, 0x6A, 0x52, 0x8D, 0x5D, 0x5E, 0x41, 0x4E, 0xFD, 0x43},  // ンソツシ゛ジニコロゾタアク゜イ
    {0xFC, 0x95, 0x6E, 0x7E, 0x5C, 0x50, 0x65, 0x8A, 0x8B, 0x77, 0x84, 0x88, 0x5D, 0xFD, 0x4A},  // ゛ヵハミソケテリルヘヤヨゾ゜カ
    {0xFD, 0xFC, 0x8F, 0x4E, 0x8D, 0x5E, 0x71, 0x7D, 0x52, 0x4A, 0x54, 0x8C, 0x6E, 0x6B, 0x43},  // ゜゛ワクロタヒマコカサレハヌイ
    {0x7C, 0xFC, 0x77, 0x82, 0x56, 0x7E, 0x69, 0x8D, 0x6A, 0x6B, 0x41, 0x47, 0x80, 0x6E, 0x5B},  // ポ゛ヘモシミナロニヌアエムハゼ
    {0x60, 0x7A, 0x6C, 0x5A, 0x82, 0x54, 0x49, 0x5E, 0x4A, 0x4C, 0x8D, 0x88, 0x56, 0x7E, 0x84},  // チホネセモサオタカキロヨシミヤ
};

// The 46 kana of the classes 0..45 (trail bytes of lead 0x83), in the order
// of the romanised class names below.
constexpr uint8_t kKanaOrder[] = {
    0x41, 0x43, 0x45, 0x47, 0x49, 0x4A, 0x4C, 0x4E, 0x50, 0x52, 0x54, 0x56, 0x58, 0x5A, 0x5C, 0x5E,
    0x60, 0x63, 0x65, 0x67, 0x69, 0x6A, 0x6B, 0x6C, 0x6D, 0x6E, 0x71, 0x74, 0x77, 0x7A, 0x7D, 0x7E,
    0x80, 0x81, 0x82, 0x84, 0x86, 0x88, 0x89, 0x8A, 0x8B, 0x8C, 0x8D, 0x8F, 0x92, 0x93};
constexpr const char* kKanaNames[] = {
    "_A", "_I", "_U", "_E", "_O", "KA", "KI", "KU", "KE", "KO", "SA", "SI", "SU", "SE", "SO", "TA",
    "TI", "TU", "TE", "TO", "NA", "NI", "NU", "NE", "NO", "HA", "HI", "HU", "HE", "HO", "MA", "MI",
    "MU", "ME", "MO", "YA", "YU", "YO", "RA", "RI", "RU", "RE", "RO", "WA", "WO", "_N"};
constexpr int kKanaCount = 46;
static_assert(sizeof kKanaOrder == kKanaCount && std::size(kKanaNames) == kKanaCount);

// Symbols of the class codes "XA".."XY" (trail bytes of lead 0x81):
// ！″＃＄％＆「（）＊＋」－．／：；＜＝＞？＠＾￥†
constexpr uint8_t kSymbolTrails[] = {0x49, 0x8D, 0x94, 0x90, 0x93, 0x95, 0x75, 0x69, 0x6A,
                                     0x96, 0x7B, 0x76, 0x7C, 0x44, 0x5E, 0x46, 0x47, 0x83,
                                     0x81, 0x84, 0x48, 0x97, 0x4F, 0x8F, 0xF5};

// Reliability values (similarities 0..25600 turned into the confidence of an
// answer of that class), one per row before the "nothing" row.
constexpr uint16_t kDigitReliability[] = {25468, 25133, 25524, 25546, 25507,
                                          25484, 25498, 25356, 25578, 25376};
constexpr uint16_t kCapitalReliability[] = {
    25582, 25578, 25526, 25340, 25576, 25576, 25584, 25514, 25585, 25534, 25570, 25535, 25564,
    25611, 25600, 25549, 25587, 25597, 25585, 25570, 25520, 25546, 25597, 25600, 25585, 25596};
// Digits and capitals, then katakana: the first three values of each are
// the library's own; the others were measured on the dictionary builder's
// training samples (bench/completion_reliability.cpp: 25600 x p^(1/4), p the
// share of a class's answers that were right), the signs "＋" and "－" and
// the marks "゛", "゜" and "ー" drawn from the same fonts.
constexpr uint16_t kAlnumReliability[38] = {
    24926, 25048, 25436, 25600, 25600, 25573, 25600, 25362, 25546, 25600,  // 0..9
    25600, 25600, 25600, 25600, 25600, 25600, 25600, 25600, 25546, 25600, 25573, 25546, 25600,
    25600, 24031, 25600, 25600, 25600, 25600, 25490, 25600, 25545, 25600, 25600, 25415, 25573,
    25546, 25572};  // the signs
constexpr uint16_t kKanaReliability[49] = {
    25270, 25479, 25163, 25600, 25600, 25600, 25573, 25519, 25600, 25573, 25573, 25600, 25600,
    25600, 25600, 25546, 25364, 25600, 25545, 25600, 25600, 25600, 25600, 25600, 25600, 25365,
    25600, 25517, 25600, 25600, 25600, 25600, 25600, 25573, 25600, 25600, 25520, 25600, 25600,
    25546, 25600, 25573, 25600, 25572, 25546, 25600, 25112, 25140, 25572};  // the marks

// Types 128, 256 and 1024: the marks a line's cells are told by their shape
// and place, each row its own class alone. A cell's mark is told far less
// surely than a character is read (on lines of the training samples'
// characters with marks among them, a cell answered "．" held one in six
// times); "゛", "゜" and "ー" keep their katakana values.
constexpr uint16_t kCellMarks[] = {0x8141, 0x8142, 0x8143, 0x8144,  // 、 。 ， ．
                                   kFullMinus, kVoicedMark, kSemiVoicedMark, kLongVowel};
constexpr uint16_t kCellMarkReliability[std::size(kCellMarks)] = {
    23137, 22958, 18169, 16338, 23892, 25112, 25140, 25572};

enum class Table { kNone, kDigits, kCapitals, kAlnum, kKatakana, kOwnClass };

Table TableOfMask(uint32_t mask) {
  switch (mask) {
    case 1: return Table::kDigits;
    case 2: return Table::kCapitals;
    case 3: case 512: case 513: case 514: case 515: return Table::kAlnum;
    case 8: return Table::kKatakana;
    case 128: case 256: case 384: case 1024: return Table::kOwnClass;
    default: return Table::kNone;
  }
}

int NothingRow(Table t) {
  switch (t) {
    case Table::kDigits: return 10;
    case Table::kCapitals: return 26;
    case Table::kAlnum: return 38;
    case Table::kKatakana: return 49;
    default: return -1;
  }
}

bool IsFullWidthDigit(uint16_t c) { return c >= 0x824F && c <= 0x8258; }
bool IsFullWidthCapital(uint16_t c) { return c >= 0x8260 && c <= 0x8279; }

// The row of a Shift-JIS answer in the table, -1 when the table has none.
int RowOfCode(Table t, uint16_t code) {
  const int trail = code & 0xFF;
  switch (t) {
    case Table::kDigits: return IsFullWidthDigit(code) ? trail - 0x4F : -1;
    case Table::kCapitals: return IsFullWidthCapital(code) ? trail - 0x60 : -1;
    case Table::kAlnum:
      if (code == kFullPlus) return 36;
      if (code == kFullMinus) return 37;
      if (IsFullWidthDigit(code)) return trail - 0x4F;
      if (IsFullWidthCapital(code)) return 10 + trail - 0x60;
      return -1;
    case Table::kKatakana: return SjisToKanaClass(code);
    case Table::kOwnClass: {
      const uint16_t* found = std::find(std::begin(kCellMarks), std::end(kCellMarks), code);
      return found == std::end(kCellMarks) ? -1 : static_cast<int>(found - kCellMarks);
    }
    default: return -1;
  }
}

// The row's character at `position` as Shift-JIS, or kNoCandidate for the
// row's end or a character the mask does not allow.
uint16_t RowCharacter(Table t, int row, int position, uint32_t mask) {
  if (t == Table::kKatakana) {
    const uint8_t b = kKanaRows[row][position];
    if (b == kVoicedByte) return kVoicedMark;
    if (b == kSemiVoicedByte) return kSemiVoicedMark;
    return static_cast<uint16_t>(kKanaLead << 8 | b);
  }
  const char* text = t == Table::kDigits ? kDigitRows[row]
                     : t == Table::kCapitals ? kCapitalRows[row] : kAlnumRows[row];
  const auto c = static_cast<unsigned char>(text[position]);
  if (c == kRowEnd) return kNoCandidate;
  if (c == '+') return (mask & kTypeSigns) ? kFullPlus : kNoCandidate;
  if (c == '-') return (mask & kTypeSigns) ? kFullMinus : kNoCandidate;
  if (c >= '0' && c <= '9') {
    return (mask & kTypeDigits) ? static_cast<uint16_t>(kFullWidthLead << 8 | (c + kFullWidthOffset))
                                : kNoCandidate;
  }
  return (mask & kTypeCapitals) ? static_cast<uint16_t>(kFullWidthLead << 8 | (c + kFullWidthOffset))
                                : kNoCandidate;
}

int RowLength(Table t, int row) {
  if (t == Table::kKatakana) return kRowLength;
  const char* text = t == Table::kDigits ? kDigitRows[row]
                     : t == Table::kCapitals ? kCapitalRows[row] : kAlnumRows[row];
  int n = 0;
  while (n < kRowLength && text[n] != '\0' && static_cast<unsigned char>(text[n]) != kRowEnd) ++n;
  return n;
}

uint16_t Reliability(Table t, int row) {
  switch (t) {
    case Table::kDigits: return kDigitReliability[row];
    case Table::kCapitals: return kCapitalReliability[row];
    case Table::kAlnum: return kAlnumReliability[row];
    case Table::kKatakana: return kKanaReliability[row];
    case Table::kOwnClass: return kCellMarkReliability[row];
    default: return 0;
  }
}

void SetCode(RecogCandidate* c, uint16_t code) {
  c->lead = static_cast<uint8_t>(code >> 8);
  c->trail = static_cast<uint8_t>(code);
}

bool ListHolds(const CharWorkRecord& r, int n, uint16_t code) {
  for (int i = 0; i < n; ++i) {
    if (r.candidates[i].code() == code) return true;
  }
  return false;
}

// The class of the closest stroke model any attempt matched, or kNoCandidate.
uint16_t ClosestModelCode(const StrokeStepList& steps, const StrokeModelSet& set) {
  int best = -1;
  uint16_t code = kNoCandidate;
  for (int a = 0; a < steps.count && a < kMaxStrokeSteps; ++a) {
    const uint8_t step = steps.steps[a];
    const StrokeModel* models = step == 4 ? set.refinement
                                : IsThinnedStep(step) ? set.family1 : set.family2;
    const int modelCount = step == 4 ? set.refinementCount
                           : IsThinnedStep(step) ? set.family1Count : set.family2Count;
    for (int e = 0; e < steps.log.counts[a] && e < kAttemptLogEntries; ++e) {
      const int m = steps.log.models[a][e];
      if (models == nullptr || m >= modelCount) continue;
      if (best < 0 || steps.log.distances[a][e] < best) {
        best = steps.log.distances[a][e];
        code = ClassCodeToSjis(ClassCodeOfName(models[m].name));
      }
    }
  }
  return code;
}

}  // namespace

uint16_t ClassCodeToSjis(uint16_t classCode) {
  if (classCode == 255) return kNoCandidate;
  const int high = classCode >> 8, low = classCode & 0xFF;
  const auto lowFirst = static_cast<uint16_t>(low << 8 | high);
  if (high == 0) {
    if ((low >= '0' && low <= '9') || (low >= 'A' && low <= 'Z')) {
      return static_cast<uint16_t>(kFullWidthLead << 8 | (low + kFullWidthOffset));
    }
    return low == '-' ? kLongVowel : lowFirst;
  }
  if (high == 'X') {
    return low >= 'A' && low <= 'Y' ? static_cast<uint16_t>(kSymbolLead << 8 | kSymbolTrails[low - 'A'])
                                    : lowFirst;
  }
  if (classCode == ('D' << 8 | 'K')) return kVoicedMark;
  if (classCode == ('H' << 8 | 'D')) return kSemiVoicedMark;
  for (int k = 0; k < kKanaCount; ++k) {
    if (high == kKanaNames[k][0] && low == kKanaNames[k][1]) {
      return static_cast<uint16_t>(kKanaLead << 8 | kKanaOrder[k]);
    }
  }
  return lowFirst;
}

int SjisToKanaClass(uint16_t sjis) {
  if (sjis == kVoicedMark) return 46;
  if (sjis == kSemiVoicedMark) return 47;
  if (sjis == kLongVowel) return 48;
  if ((sjis >> 8) != kKanaLead) return -1;
  const uint8_t* found = std::find(std::begin(kKanaOrder), std::end(kKanaOrder), sjis & 0xFF);
  return found == std::end(kKanaOrder) ? -1 : static_cast<int>(found - kKanaOrder);
}

void CompleteCandidates(const StrokeStepList* steps, const StrokeModelSet* set, uint32_t mask,
                        CharWorkRecord* work) {
  const Table table = TableOfMask(mask);
  if (table == Table::kNone) return;
  int count = std::clamp<int>(work->count, 0, kMaxCandidates);
  const bool answered = count > 0 && !work->candidates[0].empty();
  int row = -1;
  if (answered) {
    row = RowOfCode(table, work->candidates[0].code());
  } else {
    work->confidence = 0;
    count = 0;
    const uint16_t closest = steps != nullptr && set != nullptr ? ClosestModelCode(*steps, *set)
                                                                : kNoCandidate;
    row = closest != kNoCandidate ? RowOfCode(table, closest) : -1;
    if (row < 0) row = NothingRow(table);
  }
  if (row < 0) return;  // a class the table does not know
  int from = 0;
  if (answered) {
    ScoreToConfidence(Reliability(table, row), &work->confidence);
    from = 1;
  }
  if (table == Table::kOwnClass) return;  // its row holds nothing more
  const int length = RowLength(table, row);
  for (int p = from; p < length && count < kMaxCandidates; ++p) {
    const uint16_t code = RowCharacter(table, row, p, mask);
    if (code == kNoCandidate || ListHolds(*work, count, code)) continue;
    RecogCandidate& c = work->candidates[count++];
    ClearCandidate(&c);
    SetCode(&c, code);
    c.source = 0;
  }
  work->count = static_cast<int16_t>(count);
}

void CompleteCandidateLists(uint32_t mask, RecogCharResult* results, int count) {
  constexpr uint32_t kSymbolTypes = 128 | 256 | 1024;
  for (int i = 0; i < count; ++i) {
    RecogCharResult& r = results[i];
    const uint16_t first = r.candidates[0].code;
    if (first == kNoCandidate) continue;
    CharWorkRecord work;
    ClearCharRecord(&work);
    SetCode(&work.candidates[0], first);
    work.count = 1;
    work.confidence = r.confidence;
    uint32_t completionMask = mask & ~(128u | 256u | 1024u);
    if (first == kFullMinus) {
      completionMask = (mask & ~(128u | 256u)) | kTypeSigns;
    } else if ((first >> 8) == kSymbolLead) {
      completionMask = mask & kSymbolTypes;
    }
    CompleteCandidates(nullptr, nullptr, completionMask, &work);
    int k = 0;
    for (int c = 0; c < work.count && k < kResultCandidates; ++c) {
      const uint16_t code = work.candidates[c].code();
      if (code == kFullPlus && !(mask & kTypeSigns)) continue;
      r.candidates[k++] = {code, c == 0 ? r.candidates[0].score : uint8_t{0}};
    }
    for (; k < kResultCandidates; ++k) r.candidates[k] = {kNoCandidate, 0};
    r.confidence = work.confidence;
  }
}
