#include "batch/project_files.h"

namespace chmbook {

std::u16string HhcText() {
    return u"<html><head></head><body>\r\n"
           u"<OBJECT type=\"text/site properties\"><param name=\"Window Styles\" value=\"0x227\"></OBJECT>\r\n"
           u"<UL></UL></body></html>";
}

std::u16string HhkText() {
    return u"<HTML><HEAD>\r\n"
           u"</HEAD><BODY><UL>\r\n"
           u"</UL></BODY></HTML>\r\n";
}

std::u16string HhpText(const std::u16string& strTitle) {
    std::u16string text = u"[OPTIONS]\r\n"
                          u"Compatibility=1.1 Or later\r\n"
                          u"Default Window=Main\r\n"
                          u"Default topic=index.htm\r\n"
                          u"Default font=Tahoma,8,1\r\n"
                          u"Contents file=Temp.hhc\r\n"
                          u"Index file=Temp.hhk\r\n"
                          u"Display compile progress=Yes\r\n"
                          u"Full-text search=Yes\r\n"
                          u"Language=0x804 中文(中国)\r\n"
                          u"\r\n"
                          u"[WINDOWS]\r\n";
    text += u"Main=\"";
    text += strTitle;
    text += u"\",\"Temp.hhc\",\"Temp.hhk\",\"index.htm\",\"index.htm\","
            u",,,,0x20,180,0x10387C,[80,60,720,540],0x0,0x0,,1,,,0\r\n";
    text += u"\r\n"
            u"[FILES]\r\n"
            u"index.htm";
    return text;
}

}  // namespace chmbook
