#include "catalogue/CChannelRecord.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

// The six fields a record shows, in file order (field 4 is never shown).
QStringList Fields(const CChannelRecord& record)
{
    return {record.GetCategory().toString(),    record.GetColumn1Text().toString(), record.GetStreamUrl().toString(),
            record.GetColumn3Text().toString(), record.GetColumn2Text().toString(), record.GetStatus().toString()};
}

TEST(CChannelRecordTest, SevenCommaSeparatedFieldsAreTrimmed)
{
    const CChannelRecord record(" Radio, Alpha ,u,x,e,f,ON");
    EXPECT_EQ(Fields(record), QStringList({"Radio", "Alpha", "u", "e", "f", "ON"}));
    EXPECT_EQ(record.GetColumn3Text(), u"e");
    EXPECT_EQ(record.GetColumn2Text(), u"f");
}

TEST(CChannelRecordTest, TheSeventhFieldIsTheRestOfTheLineCommasAndAll)
{
    const CChannelRecord record("a,b,c,d,e,f,g,h ,  i  ");
    EXPECT_EQ(Fields(record), QStringList({"a", "b", "c", "e", "f", "g,h ,  i"}));
}

TEST(CChannelRecordTest, FailedSearchesLeaveFieldsEmptyAndStartAgainAtTheBeginning)
{
    EXPECT_EQ(Fields(CChannelRecord("abc")), QStringList({"", "", "", "", "", "abc"}));
    // Searches find 1, 3, -1, 1, 3, -1: fields a, b, empty, a, b, empty.
    const CChannelRecord abc("a,b,c");
    EXPECT_EQ(Fields(abc), QStringList({"a", "b", "", "b", "", "a,b,c"}));
    // Five commas: field 6 is empty and field 7 is the whole line, trimmed.
    EXPECT_EQ(Fields(CChannelRecord(" a,b,c,d,e,OFF ")), QStringList({"a", "b", "c", "e", "", "a,b,c,d,e,OFF"}));
    EXPECT_EQ(Fields(CChannelRecord("")), QStringList({"", "", "", "", "", ""}));
    EXPECT_EQ(Fields(CChannelRecord(",,,,,,")), QStringList({"", "", "", "", "", ""}));
}

TEST(CChannelRecordTest, WhiteSpaceOfEveryKindIsTrimmedButInnerSpacesStay)
{
    const CChannelRecord record(
        QStringLiteral(u"\t Radio FM\u00A0,\u3000Two  words\u2003,\v\f,  ,\r,\u2028x y,\u0085 end \n"));
    EXPECT_EQ(Fields(record), QStringList({"Radio FM", "Two  words", "", "", "x y", "end"}));
}

TEST(CChannelRecordTest, AByteOrderMarkIsNotWhiteSpace)
{
    const CChannelRecord record(QStringLiteral(u"\uFEFFCategory,Name,Url,x,Lang,Country,Status"));
    EXPECT_EQ(record.GetCategory(), u"\uFEFFCategory");
}

TEST(CChannelRecordTest, ACopyKeepsItsFieldsAfterTheOriginalAndTheLineAreGone)
{
    CChannelRecord copy;
    {
        CString strLine = "Radio , Name,http://h/s , x,Pop ,English, Working";
        const CChannelRecord record(strLine);
        strLine.replace("Name", "Other");
        copy = record;
    }
    EXPECT_EQ(Fields(copy), QStringList({"Radio", "Name", "http://h/s", "Pop", "English", "Working"}));
    const CChannelRecord moved(std::move(copy));
    EXPECT_EQ(moved.GetStatus(), u"Working");
}

TEST(CChannelRecordTest, TheCallersLineIsLeftAsItWas)
{
    const CString strShared = "Radio , Name ,u,x,e,f, ok ";
    const CChannelRecord shared(strShared);
    EXPECT_EQ(strShared, "Radio , Name ,u,x,e,f, ok ");
    EXPECT_EQ(shared.GetColumn1Text(), u"Name");
    const CChannelRecord literal(QStringLiteral("TV ,b,c,d,e,f,g"));
    EXPECT_EQ(literal.GetCategory(), u"TV");
}

}
