#include "formats/definitions.h"
#include "datakit.h"
#include "definitions_credits.h"

// Standard.bnk is hand-written and copied as it is; game.dat holds the
// credits of the end screen.
void GenerateDefinitions(const DataKit& kit) {
    WriteDataFile(kit, kDefinitionFile, ReadSourceFile(kit, kDefinitionFile));
    WriteDataFile(kit, "game.dat", EncodeCredits(ReadSourceFile(kit, "credits.txt")));
}
