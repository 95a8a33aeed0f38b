#pragma once

#include <QString>

namespace lexora {

// The parts of a connection string our database layer uses.
struct ConnectionInfo
{
    QString dataSource;
    QString password;
};

// Reads "Data Source" and "Database Password" from "key=value;..." text. "Data Source" is the last
// item of our strings and takes the rest of the text, so a path may hold ';'.
ConnectionInfo ParseConnectString(const QString& text);

} // namespace lexora
