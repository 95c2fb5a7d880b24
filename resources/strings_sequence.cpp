// Messages of the exposure sequence and of the unit's initialization.
#include "resources/string_rows.h"

namespace {

constexpr tResRow kRows[] = {
    {10417, "Exposure was interrupted.\nDo you generate image?",
     "撮影が中断されました。\n画像を作成しますか？"},
    {10418, "Initialization error occurred.", "初期化エラーが発生しました。"},
    {10419, "RESET error occurred.", "リセットエラーが発生しました。"},
    {10423, "Exposure Control Parameter Setting Error occurred.",
     "撮影制御パラメータの設定エラーが発生しました。"},
    {10424, "X-ray Waiting Condition Setting Error occurred.",
     "X線待機条件の設定エラーが発生しました。"},
    {10425, "Exposure Condition Confirmation Error occurred.",
     "撮影条件の確認エラーが発生しました。"},
    {10426, "Image Data Reading Error occurred.", "画像データの読み込みエラーが発生しました。"},
    {10427, "Image Treatment Error occurred.", "画像処理エラーが発生しました。"},

    {20100, "Initialization error occurred.", "初期化エラーが発生しました。"},
    {20101,
     "Confirm power supply of equipment and connection of sensor.\n"
     "If it can't restore, please contact to serviceman.",
     "装置の電源とセンサの接続を確認してください。\n"
     "復旧しない場合は、サービス担当者に連絡してください。"},
    {20102, "Sensor is being recognised now. Please wait for a moment.",
     "センサを認識しています。しばらくお待ちください。"},
};

}  // namespace

std::span<const tResRow> res_rows::sequence() { return kRows; }
