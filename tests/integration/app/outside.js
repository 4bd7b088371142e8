// Loaded only when nothing confines the test page to its folder.
record("outside");
