#pragma once

// Writes "setup.kal" in the working directory: "HD", then the full paths of
// the engine's files there (kalcoded.daf, notused, jannaf.daf, tharsel.out),
// one a line, with the platform's own separator.  An existing file is
// rewritten.  When the working directory cannot be fetched within 256 bytes,
// or the file cannot be created, nothing is written and nothing is shown.
void WriteEngineSetupFile();
