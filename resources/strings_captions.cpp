// Captions of the main window's labels, the exposure mode and patient size
// names, and the messages of the default exposure condition dialog.
#include "resources/string_rows.h"

namespace {

constexpr tResRow kRows[] = {
    {12402, "Tube voltage", "管電圧"},
    {12403, "kV", "kV"},
    {12404, "Tube current ", "管電流"},
    {12405, "mA", "mA"},
    {12406, "Exposure mode", "撮影モード"},
    {12407, "Panorama", "パノラマ"},
    {12408, "TMJ", "顎関節"},
    {12414, "Equipment", "装置"},
    {12429, "Large", "大"},
    {12430, "Middle", "中"},
    {12431, "Small", "小"},
    {12432, "Setting", "設定"},
    {12433, "Input value is incorrect.", "入力値が正しくありません。"},
    {12434, "Setting value will be changed. Is it OK?", "設定値を変更します。よろしいですか？"},
    {12435, "Setting was saved.", "設定を保存しました。"},
    {12436, "Setting could not be saved.", "設定を保存できませんでした。"},
    {12437, "Cancel", "キャンセル"},
    {12438, "Panorama 10 Sec. Adult", "パノラマ 10秒 成人"},
    {12439, "Panorama 10 Sec. Child", "パノラマ 10秒 小児"},
    {12440, "TMJ Lateral", "顎関節 側面"},
};

}  // namespace

std::span<const tResRow> res_rows::captions() { return kRows; }
