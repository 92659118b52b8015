// Replaced by the access-control work: creates the first-access password store.
int main() { return 0; }
