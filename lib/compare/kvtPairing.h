// Pairing of the master's and the target's objects, and the existence flags
// every comparison starts from. The comparer prepares each run with these;
// code that compares structures built by hand uses the same two steps.
#pragma once

class TObjs;

// Every object becomes the Pair of the object with the same list key in the
// same list of the other container (both ways), and the columns of paired
// tables and views are paired by name. Pairs from an earlier run are cleared.
void PairObjects(TObjs& master, TObjs& target);

// Every master object (and column) starts as existing exactly when it has a
// Pair, every target object as existing; a pair shares one flag from then on.
void SetExistenceFlags(TObjs& master, TObjs& target);
