#pragma once

#include "fw/Types.h"

#include <QList>

class CDocTemplate;
class CDocument;

// The application's templates, in the order they were registered, and the
// operations over all their documents.
class CDocManager
{
public:
    CDocManager() = default;
    CDocManager(const CDocManager&) = delete;
    CDocManager& operator=(const CDocManager&) = delete;
    // Deletes the templates (and with them any document still open).
    virtual ~CDocManager();

    // The manager owns the template from now on.
    virtual void AddDocTemplate(CDocTemplate* pTemplate);
    POSITION GetFirstDocTemplatePosition() const;
    CDocTemplate* GetNextDocTemplate(POSITION& pos) const;
    CDocTemplate* GetDocTemplate(int nIndex) const;
    int GetOpenDocumentCount() const;

    // Closes every document of every template without asking, destroying
    // their views and frames before it returns.
    virtual void CloseAllDocuments(BOOL bEndSession);

    // A new untitled document: of the only template with a file-new name
    // (or the first template when none has one), or, when several have
    // one, of the one the user picks in the New dialog, which does not
    // block.
    virtual void OnFileNew();
    // The Open dialog, which does not block: the file chosen opens a new
    // page (documents here read nothing from their files).
    virtual void OnFileOpen();
    // A page for the file, of the first template that may take it.
    CDocument* OpenDocumentFile(const CString& strPath);

private:
    QList<CDocTemplate*> m_templates;
};
