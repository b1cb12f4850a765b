#!/usr/bin/env bash
# Makes dist/chmbook-<version>-windows-x64.zip: chmbook.exe, chmbook-cli.exe
# and hhc.exe, cross-built into build-windows/, with a short read-me in Chinese
# and English.
set -euo pipefail
cd "$(dirname "$0")/.."
version=$(sed -n 's/^project(chmbook VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
build=build-windows
if [[ ! -f "$build/CMakeCache.txt" ]]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCHMBOOK_BUILD_TESTS=OFF
fi
cmake --build "$build" --target chmbook chmbook-cli hhc -j "$(nproc)"

name=chmbook-$version-windows-x64
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/$name"
for program in chmbook.exe chmbook-cli.exe hhc.exe; do
  x86_64-w64-mingw32-strip -o "$stage/$name/$program" "$build/bin/$program"
done
# The read-me in UTF-8 with a byte-order mark and CR LF, so that Notepad shows it.
printf '\xEF\xBB\xBF' > "$stage/$name/README.txt"
sed 's/$/\r/' >> "$stage/$name/README.txt" <<'TEXT'
chmbook 批量将TXT生成CHM文件

chmbook.exe      程序窗口：选择存放 .txt 文件的文件夹，输入标题，按“立即生成”。
chmbook-cli.exe  把一个文件夹里的所有 .txt 文件（ANSI 编码，即代码页 936）做成一本
                 CHM 电子书。例如：
                     chmbook-cli.exe --title "我的书" D:\文本
                 书放在程序文件夹的 Release 子文件夹里；chmbook-cli.exe --help 列出全部选项。
hhc.exe          HTML Help 编译器，chmbook-cli.exe 用它编译电子书；也可以单独使用：
                     hhc.exe 项目.hhp
hhc.exe 必须和 chmbook.exe、chmbook-cli.exe 放在同一个文件夹里。程序在该文件夹里建立
工作文件夹 Temp 和输出文件夹 Release；该文件夹不可写时（例如装在 Program Files 里），
二者放在 %LOCALAPPDATA%\chmbook 里。

chmbook.exe      the window: choose the folder of .txt files, type a title, press Generate.
chmbook-cli.exe  makes one CHM book of every .txt file (ANSI text, code page 936) in a
                 folder, for example:
                     chmbook-cli.exe --title "My book" D:\texts
                 The book goes to the Release folder beside the program;
                 chmbook-cli.exe --help lists every option.
hhc.exe          the HTML Help compiler that chmbook-cli.exe builds the book with; it
                 also works on its own: hhc.exe project.hhp
hhc.exe must stay in the same folder as chmbook.exe and chmbook-cli.exe. The programs
make the work folder Temp and the output folder Release there; when that folder may not
be written (installed under Program Files, say), both go to %LOCALAPPDATA%\chmbook.
TEXT
mkdir -p dist
rm -f "dist/$name.zip"
(cd "$stage" && zip -qr -X - "$name") > "dist/$name.zip"
echo "dist/$name.zip"
