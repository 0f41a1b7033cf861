#pragma once

#include "fw/Types.h"

#include <QList>

class CDocTemplate;

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
    int GetDocTemplateCount() const { return static_cast<int>(m_templates.size()); }
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
    // Documents here never come from files, so there is nothing to open:
    // the command is accepted and does nothing.
    virtual void OnFileOpen();

private:
    QList<CDocTemplate*> m_templates;
};
