-- Last in the package: a language chosen in config.txt runs its own
-- locale.lua here, so the settings and functions it sets replace those
-- above; its tables replace the loaded records' texts once the boot has
-- loaded them.
if C.LOCALE ~= "" then C.Localize:new_local():exec_lua(C.LOCALE) end
