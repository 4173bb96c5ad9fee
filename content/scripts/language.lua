-- Last in the package: a language chosen in config.txt runs its own
-- locale.lua here, which gives the texts of text.lua in its words (and may
-- replace settings and functions set above); then the settings that hold
-- texts take them. The language's tables replace the loaded records' texts
-- once the boot has loaded them.
if C.LOCALE ~= "" then C.Localize:new_local():exec_lua(C.LOCALE) end
SetTextSettings()
