local f = loadstring(string.dump(function() end)) assert(f == nil) return pcall(require, 'x')
