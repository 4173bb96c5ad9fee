local t = setmetatable({}, {__index = function() error('deep') end}) local x = t.y
