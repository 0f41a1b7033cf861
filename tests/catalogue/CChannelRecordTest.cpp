#include "catalogue/CChannelRecord.h"
#include "catalogue/CTextArena.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

// The six fields a record shows, in file order (field 4 is never shown).
QStringList Fields(const CChannelRecord& record)
{
    return {record.GetCategory(),    record.GetColumn1Text(), record.GetStreamUrl(),
            record.GetColumn3Text(), record.GetColumn2Text(), record.GetStatus()};
}

TEST(CChannelRecordTest, SevenCommaSeparatedFieldsAreTrimmed)
{
    const CChannelRecord record(" Radio, Alpha ,u,x,e,f,ON");
    EXPECT_EQ(Fields(record), QStringList({"Radio", "Alpha", "u", "e", "f", "ON"}));
    EXPECT_EQ(record.GetColumn3Text(), "e");
    EXPECT_EQ(record.GetColumn2Text(), "f");
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
    const CChannelRecord record(QStringLiteral(u"\t Radio FM\u00A0,\u3000Two  words\u2003,\v\f,  ,\r,\u2028x y,\u0085 end \n"));
    EXPECT_EQ(Fields(record), QStringList({"Radio FM", "Two  words", "", "", "x y", "end"}));
}

TEST(CChannelRecordTest, AByteOrderMarkIsNotWhiteSpace)
{
    const CChannelRecord record(QStringLiteral(u"\uFEFFCategory,Name,Url,x,Lang,Country,Status"));
    EXPECT_EQ(record.GetCategory(), QStringLiteral(u"\uFEFFCategory"));
}

TEST(CChannelRecordTest, FieldsAreIndependentNullTerminatedStrings)
{
    CChannelRecord copy;
    CString strCategory;
    {
        const CChannelRecord record("Radio , Name,http://h/s , x,Pop ,English, Working");
        copy = record;
        strCategory = record.GetCategory();
    }
    EXPECT_EQ(Fields(copy), QStringList({"Radio", "Name", "http://h/s", "Pop", "English", "Working"}));
    for (const CString& strField : Fields(copy))
        EXPECT_EQ(strField.utf16()[strField.size()], 0) << strField.toStdString();
    // Changing one field's text changes no other field.
    strCategory.append(" and more");
    strCategory.prepend("more ");
    EXPECT_EQ(strCategory, "more Radio and more");
    EXPECT_EQ(Fields(copy), QStringList({"Radio", "Name", "http://h/s", "Pop", "English", "Working"}));
    CString strStatus = copy.GetStatus();
    copy = CChannelRecord();
    strStatus.prepend("Not ");
    strStatus.append('!');
    EXPECT_EQ(strStatus, "Not Working!");
}

TEST(CChannelRecordTest, TheCallersLineIsLeftAsItWas)
{
    const CString strShared = "Radio , Name ,u,x,e,f, ok ";
    const CChannelRecord shared(strShared);
    EXPECT_EQ(strShared, "Radio , Name ,u,x,e,f, ok ");
    EXPECT_EQ(shared.GetColumn1Text(), "Name");
    const CChannelRecord literal(QStringLiteral("TV ,b,c,d,e,f,g"));
    EXPECT_EQ(literal.GetCategory(), "TV");
}

TEST(CChannelRecordTest, RecordsParsedIntoAnArenaMatchAndOutliveIt)
{
    const QStringList lines{" Radio, Alpha ,u,x,e,f,ON", "a,b,c", "abc", ",,,,,,", "a,b,c,d,e,f,g,h",
                            QString(40000, u'x') + ",1,2,3,4,5,6", "TV ,b,c,d,e,f,g"};
    std::vector<CChannelRecord> records;
    CString strSerial;
    {
        CTextArena arena;
        for (const QString& strLine : lines)
            records.emplace_back(strLine, arena);
        strSerial = arena.Copy(u"12345");
    }
    ASSERT_EQ(records.size(), static_cast<size_t>(lines.size()));
    for (qsizetype n = 0; n < lines.size(); ++n) {
        EXPECT_EQ(Fields(records[n]), Fields(CChannelRecord(lines[n]))) << n;
        for (const CString& strField : Fields(records[n]))
            EXPECT_EQ(strField.utf16()[strField.size()], 0);
    }
    EXPECT_EQ(strSerial, "12345");
    EXPECT_EQ(strSerial.utf16()[5], 0);
    // Changing a field copies it rather than writing over its neighbours.
    CString strName = records[0].GetColumn1Text();
    strName.append(" and more");
    EXPECT_EQ(records[0].GetStreamUrl(), "u");
    EXPECT_EQ(records[6].GetCategory(), "TV");
    records.erase(records.begin(), records.begin() + 3);
    EXPECT_EQ(records.back().GetStatus(), "g");
}

}
