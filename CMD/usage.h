// The text "dravbatch --help" prints.
#pragma once

#include <string_view>

namespace dravella::cmd {

inline constexpr std::string_view kUsage =
    R"(Usage: dravbatch <input> <output-folder> [switch ...]

Converts every worksheet of an .xls workbook into a dBASE table (.dbf).
<input> is a workbook file, or a folder whose .xls workbooks are all converted
(each into a subfolder of <output-folder> named after the workbook). The output
folder is created when missing (one level); without one (or with "" in its
place) the tables go to /. Paths are used as typed: ?, * and " belong to names.
A worksheet whose table name a table of the same run already took (letter case
aside) gets Name_2.dbf, Name_3.dbf ...; a workbook whose folder name was taken
gets Name_2 and so on. Tables of earlier runs follow /overwrite.

Switches (letter case does not matter; for level, naming and code page the last
one wins):
  /dbf2           write dBASE II tables
  /dbf3           write dBASE III tables (default)
  /dbf4           write dBASE IV tables
  /name=1         name each table after its worksheet; workbook_worksheet when
                  the two names are alike
  /name=2         name each table workbook_worksheet
  /name=3         number the tables 1, 2, 3 ... within each workbook
                  (default without /name: the worksheet's own name)
  /overwrite=0    keep tables that already exist (skip those worksheets)
  /overwrite=1    replace tables that already exist (default)
  /open=1         open the output folder in the file browser at the end
  /open=0         do not open it (default)
  /cp=NNNN        code page of the tables (also cpNNNN; UTF-8 as utf8, utf-8
                  or 65001):
                    437 DOS United States     874 Thai
                    737 DOS Greek             932 Japanese (Shift-JIS)
                    850 DOS Western European  936 Chinese Simplified (GBK)
                    852 DOS Central European  949 Korean (Unified Hangul)
                    857 DOS Turkish           950 Chinese Traditional (Big5)
                    860 DOS Portuguese        1250 Central European
                    861 DOS Icelandic         1251 Cyrillic
                    863 DOS Canadian French   1252 Western European (default)
                    865 DOS Nordic            1253 Greek   1254 Turkish
                    866 DOS Russian           1255 Hebrew  1256 Arabic
                    utf8 Unicode              1257 Baltic
                  Another value is rejected.

Nothing is printed on success. Exit status: 0 when every workbook was
converted, 1 when the command line was rejected (nothing to do: no input, an
input that is neither an existing file nor folder, too many words, or an
unknown code page), 2 when a workbook failed or the run stopped early. On 1
and 2, standard error has one line per failure: the workbook (and worksheet)
and the reason. A table whose characters became '?' (its code page cannot
hold them) gets a warning line with the count; /cp=utf8 or the workbook's own
code page keeps them.
  dravbatch --help   (or -h, /?) prints this text.
  dravbatch --version            prints the version.
)";

}  // namespace dravella::cmd
