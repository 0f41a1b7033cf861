#pragma once

#include <QDialog>
#include <QList>

class CDocTemplate;
class QListWidget;

// The framework's New dialog: the kinds of document that can be made, by
// their file-new names. Accepting opens a new document of the chosen kind.
class CNewTypeDlg : public QDialog
{
    Q_OBJECT

public:
    CNewTypeDlg(const QList<CDocTemplate*>& templates, QWidget* pParent = nullptr);

    QListWidget* GetList() const { return m_pList; }
    CDocTemplate* GetSelectedTemplate() const;

    void accept() override;

private:
    QList<CDocTemplate*> m_templates;
    QListWidget* m_pList;
};
