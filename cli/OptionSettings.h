// Server and compare options set by their published names on the command
// line ("--set IB.SQLDialect=1"). A name is a dialect prefix (IB, MSSQL,
// MySQL, ASA, Oracle, PG, DB2, ASE) and a field of that dialect's server
// options or of its compare options, as the option classes name them.
#pragma once

#include <string>
#include <vector>

class TObjs;
class TVeltrane;

// Applies one "NAME=VALUE" assignment to the server options of every given
// container and, for a compare-option field, also to the comparer (which
// copies its compare options into the containers before each run). Names
// and enumeration values are matched without regard to case; booleans are
// "true" or "false". False, with a message that lists the valid names or
// values, when the assignment is malformed, the name unknown or the value
// invalid; nothing is changed then.
bool ApplyOptionSetting(const std::string& assignment, const std::vector<TObjs*>& containers,
                        TVeltrane* comparer, std::string& error);

// Every published name, in table order.
std::vector<std::string> PublishedOptionNames();

// The valid values of a published name ("true", "false", the enumeration
// names, ...); empty for free text and for unknown names.
std::vector<std::string> PublishedOptionValues(const std::string& name);
