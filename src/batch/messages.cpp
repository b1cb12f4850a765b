#include "batch/messages.h"

#include <array>
#include <string>

namespace chmbook {
namespace {

using enum MessageId;

constexpr MessageTexts kCatalogue[] = {
    {kBookNotMade, u"电子书没有生成。", u"The book was not made."},
    {kNotMadeCouldNot, u"电子书没有生成：无法{1}。", u"The book was not made: could not {1}."},
    {kMadeButCouldNot, u"电子书已生成，但无法{1}。", u"The book was made, but the build could not {1}."},
    {kStepOnFile, u"{1}“{2}”", u"{1} \"{2}\""},
    {kSourcesKept, u"源文件没有删除。", u"The source files were not deleted."},
    {kSourcesUntouched, u"什么也没有生成，源文件原样保留。", u"Nothing was built; the source files were kept as they are."},
    {kCompilerWroteNothing, u"它没有任何输出。", u"It wrote no output."},
    {kCompilerLastOutput, u"它最后的输出：\n{1}\n", u"Its last output:\n{1}\n"},
    {kSystemText, u"{1}", u"{1}"},

    {kStagePreparing, u"正在准备工作文件夹", u"Preparing the work folder"},
    {kStageWaiting, u"正在等待从本程序文件夹启动的另一次生成结束",
     u"Waiting for another build from this program's folder to end"},
    {kStageListPage, u"正在写入目录页", u"Writing the list page"},
    {kStageContentPages, u"正在写入内容页", u"Writing the content pages"},
    {kStageProjectFiles, u"正在写入工程文件", u"Writing the project files"},
    {kStageCompiler, u"正在运行帮助编译器", u"Running the help compiler"},
    {kStageCopy, u"正在把电子书复制到输出位置", u"Copying the book to its place"},
    {kStageDeleting, u"正在删除源文件", u"Deleting the source files"},
    {kStageOpening, u"正在打开电子书", u"Opening the book"},

    {kStepFindProgramFolder, u"找到程序所在的文件夹", u"find the program's folder"},
    {kStepLockWorkFolder, u"锁定工作文件夹", u"lock the work folder"},
    {kStepUseWorkFolder, u"使用工作文件夹", u"use the work folder"},
    {kStepCreateWorkFolder, u"创建工作文件夹", u"create the work folder"},
    {kStepUseSourceFile, u"使用源文件", u"use the source file"},
    {kStepEmptyWorkFolder, u"清空工作文件夹", u"empty the work folder"},
    {kStepShowBusyPointer, u"显示忙碌鼠标指针", u"show the busy pointer"},
    {kStepRepaint, u"刷新窗口", u"let the window repaint"},
    {kStepWriteListPage, u"写入目录页", u"write the list page"},
    {kStepListSourceFile, u"将源文件列入目录页", u"list the source file"},
    {kStepWriteContentPage, u"写入内容页", u"write a content page"},
    {kStepMakeBook, u"生成电子书", u"make the book"},
    {kStepDeleteSources, u"删除源文件", u"delete the source files"},
    {kStepRestorePointer, u"恢复鼠标指针", u"restore the mouse pointer"},
    {kStepOpenBook, u"打开电子书", u"open the book"},
    {kStepReadSource, u"读取源文件", u"read the source file"},
    {kStepWritePage, u"写入网页", u"write the page"},
    {kStepDeleteSource, u"删除源文件", u"delete the source file"},
    {kStepWriteProjectFile, u"写入工程文件", u"write the project file"},
    {kStepRemoveEarlierBook, u"删除上次生成留下的电子书", u"remove the compiled book of an earlier build"},
    {kStepFindCompiler, u"找到帮助编译器", u"find the help compiler"},
    {kStepStartCompiler, u"启动帮助编译器", u"start the help compiler"},
    {kStepRunCompiler, u"运行帮助编译器", u"run the help compiler"},
    {kStepFindCompiledBook, u"找到编译生成的电子书", u"find the compiled book"},
    {kStepFindEveryPage, u"在编译生成的电子书中找到全部网页", u"find every page in the compiled book"},
    {kStepCopyBook, u"把电子书复制到", u"copy the book to"},
    {kStepFinishBuild, u"完成生成", u"finish the build"},

    {kReasonUnexpected, u"发生了意外错误。", u"An unexpected error occurred."},
    {kReasonNoProgramFolder, u"系统没有报告它的位置。", u"The system did not report it."},
    {kReasonFileInPlace, u"那里有一个同名的文件。", u"A file of that name stands in its place."},
    {kReasonSourceInWorkFolder, u"它位于工作文件夹中，而每次生成都会清空该文件夹。",
     u"It lies in the work folder, which every build empties."},
    {kReasonFilesNotDeleted, u"无法删除的文件：{1} 个。", u"Files that could not be deleted: {1}."},
    {kReasonSourceUnreadable, u"该文件不存在或无法读取，因此它的网页是空的。",
     u"It is missing or may not be read, so its page is empty."},
    {kReasonSourcesNotDeleted, u"无法删除的源文件：{1} 个。", u"Source files that could not be deleted: {1}."},
    {kReasonNoSuchFile, u"该文件不存在。", u"There is no such file."},
    {kReasonCompilerAbnormal, u"它没有正常结束：它崩溃了或被终止了。",
     u"It did not end normally: it crashed or was stopped."},
    {kReasonCompilerNoBook, u"帮助编译器已结束（退出码 {1}），但没有生成它。",
     u"The help compiler ended (exit code {1}) without writing it."},
    {kReasonBookLacks, u"电子书中缺少：{1}。", u"The book lacks: {1}."},
    {kReasonDiskFull, u"磁盘已满（{1}）。", u"The disk is full ({1})."},

    {kRemedyStartFromFolder, u"请从程序自己的文件夹启动程序。", u"Start the program from its own folder."},
    {kRemedyMoveFile, u"请移走或删除该文件，然后重新生成。", u"Move or delete that file and build again."},
    {kRemedyCheckProgramFolder, u"请检查您是否有权写入程序所在的文件夹。",
     u"Check that you may write to the program's folder."},
    {kRemedyMoveSources, u"请把文本文件移到单独的文件夹中，然后选择该文件夹。",
     u"Move the text files to a folder of their own and choose that folder."},
    {kRemedyCloseHolders, u"请关闭打开着该文件夹中文件的程序，然后重新生成。",
     u"Close any program that holds files of that folder open and build again."},
    {kRemedyCheckSource, u"请检查该文件，然后重新生成。", u"Check the file and build again."},
    {kRemedyCheckWorkFolder, u"请检查您是否有权写入工作文件夹，以及磁盘是否已满。",
     u"Check that you may write to the work folder and that the disk is not full."},
    {kRemedyDeleteYourself, u"如果不再需要它们，请自行删除。", u"Delete them yourself if you no longer need them."},
    {kRemedyCheckProjectFolder, u"请检查工作文件夹是否存在、您是否有权写入，以及磁盘是否已满。",
     u"Check that the work folder exists, that you may write to it and that the disk is not full."},
    {kRemedyCloseOrDeleteBook, u"请关闭打开着它的程序或自行删除它，然后重新生成。",
     u"Close any program that holds it open, or delete it yourself, and build again."},
    {kRemedyPutCompiler, u"请把编译器 {1} 放到程序所在的文件夹中。", u"Put the compiler {1} into the program's folder."},
    {kRemedyCheckProgram, u"请检查该文件是否为本系统能运行的程序，以及您是否有权运行它。",
     u"Check that the file is a program that this system can run and that you may run it."},
    {kRemedyBuildAgain, u"请重新生成；如果再次失败，请检查编译器。", u"Build again; if it fails again, check the compiler."},
    {kRemedyCorrectCompiler, u"请按编译器的报告改正，然后重新生成。", u"Correct what the compiler reports and build again."},
    {kRemedyBookNotPlaced, u"电子书没有放到输出位置。请检查编译器的输出，然后重新生成。",
     u"The book was not put in place. Check the compiler's output and build again."},
    {kRemedyCheckOutput, u"请检查它所在的文件夹是否存在且可以写入，以及该电子书是否正在阅读器中打开。",
     u"Check that its folder exists and may be written to, and that the book is not open in a reader."},
    {kRemedyFreeSpace, u"请在该磁盘上腾出空间，然后重新生成。", u"Free some space on that disk and build again."},

    {kTitleCharacter, u"标题中不能含有字符“{1}”：它不能用在文件名中。请换一个标题。",
     u"the title must not hold the character \"{1}\": it cannot be part of a file name. Choose another title."},
    {kTitleDots, u"标题不能是“{1}”：它不能用作文件名。请换一个标题。",
     u"the title cannot be \"{1}\": that is not a file name. Choose another title."},
    {kTitleReserved, u"标题“{1}”是 Windows 保留的设备名，不能用作文件名。请换一个标题。",
     u"the title \"{1}\" is a device name that Windows reserves and cannot be a file name. Choose another title."},
    {kTitleTrailing, u"标题不能以字符“{1}”结尾：Windows 会从文件名中去掉它。请换一个标题。",
     u"the title must not end in the character \"{1}\": Windows drops it from file names. Choose another title."},
    {kTitleTooLong, u"标题太长：文件名“{1}.chm”超过了 {2} 个字节的上限。请换一个较短的标题。",
     u"the title is too long: the file name \"{1}.chm\" is over the limit of {2} bytes. Choose a shorter title."},

    {kCliNoFolder, u"文件夹“{1}”不存在。请指定存放 .txt 文件的文件夹。",
     u"the folder \"{1}\" does not exist. Give the folder that holds the .txt files."},
    {kCliNoTextFiles, u"文件夹“{1}”中没有 .txt 文件。请选择至少含有一个 .txt 文件的文件夹。",
     u"the folder \"{1}\" holds no .txt file. Choose a folder with at least one."},
    {kCliNoOutputFolder, u"无法创建输出文件夹“{1}”。请检查您是否有权写入程序所在的文件夹，以及那里没有同名的文件。",
     u"could not create the output folder \"{1}\". Check that you may write to the program's folder and that no "
     u"file of that name stands there."},
    {kCliWarning, u"警告：{1}", u"warning: {1}"},
    {kCliDone, u"完成（{1}）", u"Done ({1})"},
    {kCliOnePageWritten, u"已写入 1 页", u"1 page written"},
    {kCliPagesWritten, u"已写入 {1} 页", u"{1} pages written"},

    {kNoteCaptionStandIns, u"代码页 936 无法容纳标题中的这些字符，电子书窗口的标题栏将以“?”或相近的字符代替它们：{1}。",
     u"The book's window caption shows \"?\" or a look-alike for characters that code page 936 cannot hold: {1}."},
    {kNoteBookNotOpenedCaption, u"无法打开CHM文件", u"The book could not be opened"},
    {kNoteBookNotOpened,
     u"CHM文件已经生成，但未能打开：系统中没有可以打开CHM文件的程序。\n文件保存在：\n{1}\n请安装CHM阅读器后再打开它。",
     u"The book was made, but no program on this system opens CHM files. It is saved at:\n{1}\nInstall a CHM "
     u"viewer to open it."},
};

static_assert(std::size(kCatalogue) == static_cast<std::size_t>(kCount) - 1,
              "every message id has its entry in the catalogue");

}  // namespace

std::span<const MessageTexts> MessageCatalogue() { return kCatalogue; }

std::u16string Text(MessageId id, Language language, std::initializer_list<std::u16string_view> arguments) {
    const std::size_t index = static_cast<std::size_t>(id) - 1;
    if (id == kNone || index >= std::size(kCatalogue)) return {};
    const std::u16string_view text = language == Language::kChinese ? kCatalogue[index].zh : kCatalogue[index].en;
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t slot = text[i] == u'{' && i + 2 < text.size() && text[i + 2] == u'}' ? text[i + 1] - u'1' : 99;
        if (slot < arguments.size()) {
            out += arguments.begin()[slot];
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::u16string Phrase::In(Language language) const {
    switch (arguments.size()) {
    case 0: return Text(id, language);
    case 1: return Text(id, language, {arguments[0]});
    default: return Text(id, language, {arguments[0], arguments[1]});
    }
}

Language LanguageOfLocale(const char* lcAll, const char* lcMessages, const char* lang) {
    for (const char* value : {lcAll, lcMessages, lang}) {
        if (!value || !*value) continue;
        const std::string_view name(value);
        const bool zh = name.substr(0, 2) == "zh" && (name.size() == 2 || name[2] == '_' || name[2] == '.' ||
                                                      name[2] == '@' || name[2] == '-');
        return zh ? Language::kChinese : Language::kEnglish;
    }
    return Language::kEnglish;
}

}  // namespace chmbook
