#pragma once

#include <QWidget>

class QLabel;

// What a radio channel shows where a TV channel shows its pictures: the
// title the station sends for what it plays now, and the station's name.
class CNowPlayingPanel : public QWidget
{
    Q_OBJECT

public:
    explicit CNowPlayingPanel(QWidget* pParent = nullptr);

    void SetTitle(const QString& strTitle, const QString& strStationName);
    QString Title() const;

private:
    QLabel* m_pTitle;
    QLabel* m_pStationName;
};
