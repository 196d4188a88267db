// The help text in its two byte forms: UTF-8 as written here, and Shift-JIS,
// converted once from it with iconv (CP932) and kept as escaped bytes.
#include "helptext.h"

namespace depmill {

namespace {

constexpr std::string_view kHelpUtf8 =
    "    -l           EXEではなく、ライブラリファイルを作る\n"
    "    -o filename  最終的に出来るファイルの名前(a.exe)\n"
    "    -O dirname   make結果の出力ディレクトリ\n"
    "    -I pathname  インクルードファイルを捜すディレクトリ\n"
    "    -s           #include <file.h> の依存関係も記述する\n"
    "    -d           データベースアプリケーション用Makefile\n"
    "    -m[smclh]    メモリーモデルの指定\n"
    "    -b ext       オブジェクトファイルの拡張子(obj)\n"
    "    -t{0|1|2|3}  Makefileのタイプ(0=cc, 1=cl+link, 2=LSI C-86, 3=Open Watcom)\n"
    "    -U           元のMakefileのマクロを無視する\n";

constexpr std::string_view kHelpShiftJis =
    "    -l           "
    "EXE\202\305\202\315\202\310\202\255\201A\203\211\203C\203u\203\211\203\212\203t\203@"
    "\203C\203\213\202\360\215\354\202\351\n"
    "    -o filename  "
    "\215\305\217I\223I\202\311\217o\227\210\202\351\203t\203@\203C\203\213\202\314\226\274\221O(a."
    "exe)\n"
    "    -O dirname   "
    "make\214\213\211\312\202\314\217o\227\315\203f\203B\203\214\203N\203g\203\212\n"
    "    -I pathname  "
    "\203C\203\223\203N\203\213\201[\203h\203t\203@\203C\203\213\202\360\221{"
    "\202\267\203f\203B\203\214\203N\203g\203\212\n"
    "    -s           #include <file.h> "
    "\202\314\210\313\221\266\212\326\214W\202\340\213L\217q\202\267\202\351\n"
    "    -d           "
    "\203f\201[\203^\203x\201[\203X\203A\203v\203\212\203P\201[\203V\203\207\203\223\227pMakefile\n"
    "    -m[smclh]    \203\201\203\202\203\212\201[\203\202\203f\203\213\202\314\216w\222\350\n"
    "    -b ext       "
    "\203I\203u\203W\203F\203N\203g\203t\203@\203C\203\213\202\314\212g\222\243\216q(obj)\n"
    "    -t{0|1|2|3}  Makefile\202\314\203^\203C\203v(0=cc, 1=cl+link, 2=LSI C-86, 3=Open "
    "Watcom)\n"
    "    -U           "
    "\214\263\202\314Makefile\202\314\203}\203N\203\215\202\360\226\263\216\213\202\267\202\351\n";

}  // namespace

std::string_view helpText(common::CodePage cp) {
    return cp == common::CodePage::ShiftJis ? kHelpShiftJis : kHelpUtf8;
}

}  // namespace depmill
