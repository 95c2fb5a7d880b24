#include "resources/string_table.h"

#include <QLocale>
#include <atomic>
#include <map>

#include "resources/string_rows.h"

namespace {

constexpr int kFollowSystem = 0;
constexpr int kEnglish = 1;
constexpr int kJapanese = 2;

std::atomic<int> g_lResLanguage{kFollowSystem};

using tRowMap = std::map<int32_t, const tResRow*>;

const tRowMap& rowMap() {
    static const tRowMap map = [] {
        tRowMap m;
        for (auto rows : {res_rows::sequence(), res_rows::libraryCodes(), res_rows::console(),
                          res_rows::captions(), res_rows::unitErrors(),
                          res_rows::worklist()}) {
            for (const tResRow& row : rows) m.emplace(row.lNo, &row);
        }
        return m;
    }();
    return map;
}

// The operator reads Japanese when the user interface is set to it
// (LANG=ja_JP.UTF-8); every other language gets the English rows.
int lEffectiveLanguage() {
    const int lang = g_lResLanguage.load();
    if (lang == kEnglish || lang == kJapanese) return lang;
    return QLocale::system().language() == QLocale::Japanese ? kJapanese : kEnglish;
}

}  // namespace

void vSetResLanguage(int lang) { g_lResLanguage.store(lang); }

bool booResJapanese() { return lEffectiveLanguage() == kJapanese; }

bool booLoadResString(int32_t lNo, std::string& sText) {
    const tRowMap& map = rowMap();
    const auto it = map.find(lNo);
    if (it == map.end()) return false;
    sText = lEffectiveLanguage() == kJapanese ? it->second->sJapanese : it->second->sEnglish;
    return true;
}
