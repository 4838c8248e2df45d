#include "tmc/TMCReferenceLists.h"

TMCReferenceLists& TMCReferenceLists::instance()
{
    static TMCReferenceLists lists;
    return lists;
}
