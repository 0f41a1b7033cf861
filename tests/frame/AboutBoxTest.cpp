#include "MainFrameFixture.h"

#include "fw/CDialog.h"
#include "fw/MessageBox.h"
#include "fw/WindowMessages.h"
#include "res/ProductInfo.h"

#include <QLabel>
#include <QPushButton>

namespace {

using AboutBoxTest = MainFrameFixture;

TEST_F(AboutBoxTest, AboutCommandShowsTheProgramAndWhereToWriteTo)
{
    Start();
    QString strTitle;
    QStringList texts;
    QString strDefaultButton;
    UINT nTemplate = 0;
    CModalDialogDriver driver([&](CDialog& dialog) {
        nTemplate = dialog.GetTemplateID();
        strTitle = dialog.windowTitle();
        for (const QLabel* pLabel : dialog.findChildren<QLabel*>()) {
            if (!pLabel->text().isEmpty())
                texts.append(pLabel->text());
        }
        for (const QPushButton* pButton : dialog.findChildren<QPushButton*>()) {
            if (pButton->isDefault())
                strDefaultButton = pButton->text();
        }
        dialog.EndDialog(IDOK);
    });

    // The About button's command, on the frame's route to the application.
    Frame()->SendMessage(WM_COMMAND, 57664, 0);

    EXPECT_EQ(nTemplate, 100u);
    EXPECT_EQ(strTitle, QStringLiteral("About Kestrel Radio"));
    EXPECT_TRUE(texts.contains(QStringLiteral("Kestrel Radio, Version 1.0")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Contact Us : ") + ProductInfo::SupportAddress()));
    EXPECT_EQ(strDefaultButton, QStringLiteral("OK"));
}

}
