#include "sample_projects.h"

#include "test_support/test_files.h"

namespace hhc::testing {

std::filesystem::path WriteBuildProject(const std::filesystem::path& folder, const std::string& title,
                                        const std::vector<SourceText>& texts) {
    using test_support::WriteBytes;
    std::string list = "<HTML>\r\n<HEAD><TITLE>" + title + "</TITLE>\r\n</HEAD>\r\n<BODY>\r\n";
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::string page = std::to_string(i) + ".htm";
        list += "<p><a href='" + page + "'>" + texts[i].name + "</a></p><p>" + texts[i].text.substr(0, 200) + "</p>\r\n";
        WriteBytes(folder / page, "<HTML>\r\n<HEAD><TITLE>" + texts[i].name + "</TITLE>\r\n</HEAD>\r\n<BODY>\r\n" +
                                      texts[i].text + "</body>\r\n</html>\r\n");
    }
    WriteBytes(folder / "index.htm", list + "</body>\r\n</html>\r\n");
    WriteBytes(folder / "Temp.hhc",
               "<html><head></head><body>\r\n<OBJECT type=\"text/site properties\"><param name=\"Window Styles\" "
               "value=\"0x227\"></OBJECT>\r\n<UL></UL></body></html>");
    WriteBytes(folder / "Temp.hhk", "<HTML><HEAD>\r\n</HEAD><BODY><UL>\r\n</UL></BODY></HTML>\r\n");
    WriteBytes(folder / "Temp.hhp",
               "[OPTIONS]\r\nCompatibility=1.1 Or later\r\nDefault Window=Main\r\nDefault topic=index.htm\r\n"
               "Default font=Tahoma,8,1\r\nContents file=Temp.hhc\r\nIndex file=Temp.hhk\r\n"
               "Display compile progress=Yes\r\nFull-text search=Yes\r\nLanguage=0x804 \xD6\xD0\xCE\xC4(\xD6\xD0\xB9\xFA)\r\n"
               "\r\n[WINDOWS]\r\nMain=\"" + title + "\",\"Temp.hhc\",\"Temp.hhk\",\"index.htm\",\"index.htm\",,,,,0x20,180,"
               "0x10387C,[80,60,720,540],0x0,0x0,,1,,,0\r\n\r\n[FILES]\r\nindex.htm");
    return folder / "Temp.hhp";
}

}  // namespace hhc::testing
