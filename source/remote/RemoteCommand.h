#pragma once

#include <QString>

// One line of the control protocol cut into its parts: "SET rds.1.rt Hello
// World" gives the command SET, the argument rds.1.rt and the value "Hello
// World". An argument in double quotes may hold blanks, so file names with
// blanks can be loaded.
class RemoteCommand
{
public:
    QString command;  // upper case
    QString argument; // as typed
    QString value;    // "true"/"false" already turned into "1"/"0"

    // line is expected trimmed.
    static RemoteCommand parse(const QString& line);

private:
    void splitRest(const QString& rest);
};
