// Status texts of the console, prompts to the operator and link messages.
#include "resources/string_rows.h"

namespace {

constexpr tResRow kRows[] = {
    {11403, "Error between Sensor and X-ray equipment. Call to your agent.",
     "センサとX線装置の間でエラーが発生しました。販売店にご連絡ください。"},
    {11450, "Equipment does not exist at origin position. Push RESET.",
     "装置が原点位置にありません。RESETを押してください。"},
    {11451, "Equipment is moving to origin position now.", "装置が原点位置へ移動しています。"},
    {11452, "Select exposure condition and push READY.",
     "撮影条件を選んでREADYを押してください。"},
    {11453, "Sensor is being initialized now.", "センサを初期化しています。"},
    {11454, "Start exposure.", "撮影を開始してください。"},
    {11455, "Under exposure.", "撮影中です。"},
    {11456, "Data is being transferred now. Don't turn off power supply of equipment.",
     "データを転送しています。装置の電源を切らないでください。"},
    {11457, "Image is being processed now.", "画像を処理しています。"},
    {11458, "Communication with equipment is unavailable. Confirm power on of the equipment.",
     "装置と通信できません。装置の電源が入っているか確認してください。"},
    {11459, "Confirm power on of the equipment.", "装置の電源が入っているか確認してください。"},
    {11460, "Status of the equipment is being confirmed now.", "装置の状態を確認しています。"},
    {11461, "Unclear Command was received.", "不明なコマンドを受信しました。"},
    {11462, "Equipment is being initialized now. Wait for a while.",
     "装置を初期化しています。しばらくお待ちください。"},
    {11463, "Equipment Setting Command could not be transferred correctly.",
     "装置設定のコマンドを正しく送信できませんでした。"},
    {11464, "Set preheat value correctly.\n(Valid value: 0 - 255)",
     "プレヒート値を正しく設定してください。\n(有効な値: 0 - 255)"},
    {11465, "Test Mode Command Communication.", "テストモード コマンド通信"},
    {11466, "Half Mode", "ハーフモード"},
    {11467, "Package Mode", "パッケージモード"},
    {11468, "Push READY button.", "READYボタンを押してください。"},
    {11469, "Push READY button.", "READYボタンを押してください。"},
    {11470, "Equipment is not in Cephalo position. Push RESET.",
     "装置がセファロ位置にありません。RESETを押してください。"},
    {11471, "Equipment is turning to Cephalo position.", "装置がセファロ位置へ回転しています。"},
    // READY with a mode of the cephalometric side, which has no exposure code.
    {11472, "Cephalo exposure is not available on this console.",
     "このコンソールではセファロ撮影はできません。"},

    {11490, "Cephalo position will be released.", "セファロ位置を解除します。"},
    {11491, "Moving to Cephalo position.", "セファロ位置へ移動します。"},
    {11492, "Waiting for finish of READY. ", "READYの終了を待っています。"},
    {11493, "Waiting for complete of movement.", "移動の完了を待っています。"},
    {11494, "Movement has completed.", "移動が完了しました。"},
    {11495, "Movement stopped.", "移動を停止しました。"},
    {11496, "Sensor is not connected.", "センサが接続されていません。"},
    {11498, "Cooling Time", "冷却時間"},
    // The number pattern of the cooling line: '#' stands for the seconds left;
    // the English pattern has none, so no number is shown there.
    {11499, "Wait for", "残り # 秒"},

    // The simulated sensor, shown for as long as the window is there.
    {11560, "SIMULATOR — not for patients", "シミュレータ — 患者には使用できません"},
    // READY with a real unit's X-ray and the simulated sensor.
    {11561,
     "The sensor is simulated: the unit will give X-rays, but the image will be invented.\r\n"
     "Confirm that no patient is in the unit.\r\nStart the exposure?",
     "センサは模擬です。装置は X 線を照射しますが、画像は作り物です。\r\n"
     "装置に患者がいないことを確認してください。\r\n撮影を開始しますか？"},
    // Names from the settings file that must not be written: %1 is the name.
    {11562, "The image cannot be saved as %1.", "画像を %1 に保存できません。"},
    {11563, "The exposure record cannot be written as %1.", "撮影記録を %1 に書き込めません。"},
    {11564, "The name leads through a symbolic link that belongs to another user.",
     "この名前は、他のユーザーのシンボリックリンクを経由しています。"},
    {11565, "A file of another user has that name, in a folder shared by several users.",
     "複数のユーザーが共用するフォルダに、他のユーザーの同じ名前のファイルがあります。"},
    {11566, "The file there is not a bitmap; it is kept.", "そこにあるファイルはビットマップではないため、残します。"},
    {11567, "The file there is not an exposure record; it is kept.",
     "そこにあるファイルは撮影記録ではないため、残します。"},
    {11568, "The file could not be written.", "ファイルを書き込めませんでした。"},
    {11569, "It would be the bitmap itself: SaveFileName must not end in .json.",
     "ビットマップと同じファイルになります。SaveFileName の末尾を .json にしないでください。"},
    // The archive: settings, whom the image is for, the spool.
    {11600, "The DICOM settings in ZYR_PAN_WEQ.ini are not valid. The console does not start until they are corrected.",
     "ZYR_PAN_WEQ.ini の DICOM 設定が正しくありません。修正するまでコンソールは起動しません。"},
    {11601, "No patient ID was given. An image that cannot be filed in the archive is not taken.\nStart the console from the imaging program with the patient's ID.",
     "患者IDが指定されていません。アーカイブに保存できない画像は撮影しません。\n画像ソフトから患者IDを指定してコンソールを起動してください。"},
    {11602, "The image was saved, but it could not be queued for the archive.",
     "画像は保存されましたが、アーカイブへの送信待ちに入れられませんでした。"},
    {11603, "Send the bitmap to the archive by other means.", "ビットマップを別の方法でアーカイブへ送ってください。"},
};

}  // namespace

std::span<const tResRow> res_rows::console() { return kRows; }
