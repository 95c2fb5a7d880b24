// The modality worklist: the choice window and the messages when the
// worklist cannot be asked. %1, %2 stand for the values the console puts in.
#include "resources/string_rows.h"

namespace {

constexpr tResRow kRows[] = {
    {13700, "Worklist - scheduled today for %1", "ワークリスト - 本日の予定 (%1)"},
    {13701, "Patient name", "患者氏名"},
    {13702, "Patient ID", "患者ID"},
    {13703, "Birth date", "生年月日"},
    {13704, "Sex", "性別"},
    {13705, "Requested procedure", "依頼検査"},
    {13706, "Time", "予定時刻"},
    {13707, "Filter:", "絞り込み:"},
    {13708, "Refresh", "更新"},
    {13709, "OK", "OK"},
    {13710, "Cancel", "キャンセル"},
    {13711, "Nothing is scheduled for this station today.", "本日このステーションに予定された検査はありません。"},
    {13712, "%1 of %2 shown", "%2 件中 %1 件を表示"},

    {13720, "The worklist %1 refused the connection: no worklist server is running there.",
     "ワークリスト %1 への接続が拒否されました。ワークリストサーバが動いていません。"},
    {13721, "The worklist %1 did not answer within %2 seconds.",
     "ワークリスト %1 から %2 秒以内に応答がありません。"},
    {13722, "The worklist %1 rejected this station (AE title %2). Check Worklist and StationAE in [DICOM] of ZYR_PAN_WEQ.ini.",
     "ワークリスト %1 がこのステーション (AE タイトル %2) を拒否しました。ZYR_PAN_WEQ.ini の [DICOM] の Worklist と StationAE を確認してください。"},
    {13723, "The worklist %1 could not answer the query (%2).", "ワークリスト %1 が照会に応答できませんでした (%2)。"},
    {13724, "The worklist %1 could not be asked (%2).", "ワークリスト %1 に照会できませんでした (%2)。"},
    {13725, "Retry to ask again, Cancel to end without an exposure.",
     "再試行で再度照会します。キャンセルで撮影せずに終了します。"},
    {13726, "Retry to ask again, Cancel to keep the list as it is.",
     "再試行で再度照会します。キャンセルで一覧をそのままにします。"},
};

}  // namespace

std::span<const tResRow> res_rows::worklist() { return kRows; }
