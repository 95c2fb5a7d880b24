// Explanations of the sensor library's result codes: 10450 + code for the
// codes 1 to 30 (15 to 17, 25 and 27 to 30 have none), 10491 for the
// communication codes, 10492 for any other, 10400 - code for -93 to -99 and
// for the three link codes with a remedy of their own, -4, -5 and -6.
#include "resources/string_rows.h"

namespace {

constexpr tResRow kRows[] = {
    // %1: the settings file's full path, filled in by the console.
    {10404,
     "No Link setting: section [ZyrPan2] of the settings file %1 does not say how the unit is connected. "
     "Write there Link=sim for a demonstration with the simulated unit, or for a unit Link=tcp:HOST:PORT "
     "(over the network) or Link=serial:DEVICE:BAUD (on a serial line).",
     "Link の設定がありません。設定ファイル %1 の [ZyrPan2] セクションに装置の接続方法がありません。"
     "模擬装置でのデモには Link=sim、装置には Link=tcp:ホスト:ポート（ネットワーク）または "
     "Link=serial:デバイス:ボーレート（シリアル回線）を書いてください。"},
    // %1 the device, %2 the group that owns it (filled in when shown).
    {10405,
     "No permission to open the serial device %1 of the unit: add the user to the group %2, which "
     "owns it (then log in again).",
     "装置のシリアルデバイス %1 を開く権限がありません。ユーザーを、このデバイスを所有する %2 グループに"
     "追加してください（その後、ログインし直してください）。"},
    {10406,
     "The serial device of the unit is in use by another program (another console?): end that "
     "program, then start again.",
     "装置のシリアルデバイスは別のプログラム（別のコンソールなど）が使用中です。そのプログラムを"
     "終了してから、もう一度起動してください。"},
    // 10405 when the device or its group cannot be looked up.
    {10407,
     "No permission to open the serial device of the unit: add the user to the group that owns "
     "the device (then log in again).",
     "装置のシリアルデバイスを開く権限がありません。ユーザーを、デバイスを所有するグループに"
     "追加してください（その後、ログインし直してください）。"},

    {10451, "Status of Circuit Setting at Initialization Time was changed.",
     "初期化時の回路設定の状態が変更されました。"},
    {10452, "AD cannot be reading condition.", "ADを読み取り可能な状態にできません。"},
    {10453, "Unsuitable Parameter Value that transferred by factor.",
     "引数で渡されたパラメータの値が適切ではありません。"},
    {10454, "Failure of CCD Driving Data Setting.", "CCD駆動データの設定に失敗しました。"},
    {10455, "Failure of securing memory in function.", "関数内でメモリの確保に失敗しました。"},
    {10456, "Access failure to Communication Control Program Load File that was set by factor.",
     "引数で指定された通信制御プログラムのロードファイルにアクセスできません。"},
    {10457, "Access failure to Exposure Control Program Load File that was set by factor.",
     "引数で指定された撮影制御プログラムのロードファイルにアクセスできません。"},
    {10458, "Access failure to file that was set by factor.",
     "引数で指定されたファイルにアクセスできません。"},
    {10459,
     "Communication Control Assembly was not initialized, or exposure control Assy is "
     "initialized under condition of failed initialization.",
     "通信制御部が初期化されていないか、初期化に失敗した状態で撮影制御部が初期化されました。"},
    {10460, "Invalid value is included in Input Film Speed Data.",
     "入力されたフィルム送り速度データに無効な値が含まれています。"},
    {10461, "Excess of Exposure Range of Input Film Speed Data.",
     "入力されたフィルム送り速度データが撮影範囲を超えています。"},
    {10462,
     "Excess of Total of Exposure Range by Input Film Speed Data and Exposure Range by Time Lag.",
     "フィルム送り速度データによる撮影範囲とタイムラグによる撮影範囲の合計が範囲を超えています。"},
    {10463, "Incorrect Proofreading Data File Size for Correction of Incorrect Sensitivity.",
     "感度補正用の校正データファイルのサイズが正しくありません。"},
    {10464, "Incorrect Data File Size for Damage Correction.",
     "欠陥補正用のデータファイルのサイズが正しくありません。"},
    {10468, "Data cannot be read from Sensor Unit.", "センサユニットからデータを読み込めません。"},
    {10469, "Communication Control DLL File cannot be read.",
     "通信制御ライブラリのファイルを読み込めません。"},
    {10470, "Error of Exposure Control Program Load File.",
     "撮影制御プログラムのロードファイルにエラーがあります。"},
    {10471, "Data Error by communication.", "通信でデータエラーが発生しました。"},
    {10472, "Invalid image data for making correction data.",
     "補正データ作成用の画像データが無効です。"},
    {10473,
     "No density difference by different value of CCD driving data in image data for "
     "completing proofreading data.",
     "校正データ作成用の画像データに、CCD駆動データの値の違いによる濃度差がありません。"},
    {10474, "Communication Control Program Load File Error.",
     "通信制御プログラムのロードファイルのエラーです。"},

    {10476,
     "This library has no driver for a real sensor. Its simulated sensor runs only with Link=sim, or "
     "Sensor=sim beside a tcp: or serial: link, in section [ZyrPan2] of ZYR_PAN_WEQ.ini.",
     "このライブラリには実際のセンサのドライバがありません。模擬センサは、ZYR_PAN_WEQ.ini の "
     "[ZyrPan2] セクションが Link=sim、または tcp: か serial: のリンクと Sensor=sim のときだけ動作します。"},

    {10491, "Communication Error. Communication is not established.",
     "通信エラー。通信が確立されていません。"},
    {10492, "Unclear Error", "不明なエラー"},
    {10493, "BMP(8bit) File Writing Error", "BMP(8bit)ファイルの書き込みエラー"},
    {10494, "Reading Error of Image Data (12bit) File", "画像データ(12bit)ファイルの読み込みエラー"},
    {10495, "Memory Obtaining Error", "メモリ確保エラー"},
    {10496, "Image Data File Writing Error", "画像データファイルの書き込みエラー"},
    {10497, "Parameter Error", "パラメータエラー"},
    {10498, "Memory Obtaining Error", "メモリ確保エラー"},
    {10499, "Film Sending Speed Data File Reading Error",
     "フィルム送り速度データファイルの読み込みエラー"},
};

}  // namespace

std::span<const tResRow> res_rows::libraryCodes() { return kRows; }
