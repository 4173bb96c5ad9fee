// Connects the world's readers of script settings to the settings globals.
//
// World code sits below the shell and cannot see the globals of module `C`;
// it reads them through sources the shell installs here, at the moment of
// use, so a value a script assigned takes effect the next time it is read.
#pragma once

// Installs every world settings source; call once before the scripts run.
void installWorldSettingsSources();
