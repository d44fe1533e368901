#include "tools/browseforfolders.h"

#include "platform/prompts.h"
#include "tools/runlocations.h"

const QString TBrowseForFolders::Title = QStringLiteral("Choose a Directory");

QString TBrowseForFolders::Execute(const QString &initial) {
    const QString chosen = m_prompts.folder(m_owner, Title, initial);
    return chosen.isEmpty() ? TRunLocations::NoFolderChosen : chosen;
}
