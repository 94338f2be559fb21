#pragma once

#include <QString>
#include <QStringList>

// The texts that pass between the host and the page playing the movie: variable names as the bootstrap movie
// needs them, scale modes as Ruffle spells them, and the ExternalInterface requests the host sends.
namespace playerprotocol {

// Names address the root timeline the way the original control did: "_root.x" and a plain "x" both mean
// "_level0.x"; "_root.a.b" means "_level0.a.b". Names that already start at a level, at _global or in
// slash syntax are absolute and stay as they are.
QString absoluteVariableName(const QString& name);

// True for "_level0.x": a variable of the root timeline that can travel in the query of the movie's URL.
bool isRootVariable(const QString& absoluteName);

// "showAll", "noScale", "exactFit" or "noBorder" in Ruffle's spelling; case is ignored and anything else
// gives "showAll".
QString ruffleScaleMode(const QString& mode);

struct InvokeRequest {
    QString name;
    QStringList arguments;
};

// Reads an "<invoke name=...><arguments><string>...</string>...</arguments></invoke>" request. The host puts
// argument texts in unescaped, so "&" and "<" can appear raw: each argument runs from its <string> to the
// next </string>. Entities written the escaped way are decoded. A request without a name gives an empty name.
InvokeRequest parseInvokeRequest(const QString& request);

} // namespace playerprotocol
