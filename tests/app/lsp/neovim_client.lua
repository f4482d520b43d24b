-- Drives `ondrex lsp` through Neovim's own client (vim.lsp.start_client, Neovim 0.7 and
-- later): opens a script of the workspace, asks for its symbols, folding ranges, the
-- definition of a function found through an include, and workspace symbols, and checks the
-- answers. Run by neovim_test.sh; any failure ends Neovim with a non-zero status.
local ondrex = os.getenv('ONDREX')
local root = os.getenv('WORKSPACE')

local function fail(message)
  io.stderr:write('neovim_client.lua: ' .. message .. '\n')
  vim.cmd('cquit 1')
end

local function check(condition, message, value)
  if not condition then fail(message .. ': ' .. vim.inspect(value)) end
end

local client_id = vim.lsp.start_client({
  name = 'ondrex',
  cmd = { ondrex, 'lsp', '--stdio' },
  root_dir = root,
  workspace_folders = { { uri = vim.uri_from_fname(root), name = 'site' } },
})
check(client_id ~= nil, 'the client did not start', client_id)

vim.cmd('edit ' .. root .. '/main.asp')
local buf = vim.api.nvim_get_current_buf()
vim.lsp.buf_attach_client(buf, client_id)
local ready = vim.wait(10000, function()
  local c = vim.lsp.get_client_by_id(client_id)
  return c ~= nil and c.initialized
end, 20)
check(ready, 'the server did not initialize', ready)
local client = vim.lsp.get_client_by_id(client_id)
check(client.server_capabilities.documentSymbolProvider, 'no documentSymbolProvider',
  client.server_capabilities)

local function ask(method, params)
  local answer, err = client.request_sync(method, params, 10000, buf)
  check(answer ~= nil and answer.err == nil, method .. ' failed', err or answer)
  return answer.result
end
local document = { uri = vim.uri_from_bufnr(buf) }

-- The outline: the two functions, the call inside the first one as its child.
local symbols = ask('textDocument/documentSymbol', { textDocument = document })
check(#symbols == 2, 'two symbols expected', symbols)
check(symbols[1].name == 'ShowPrice' and symbols[2].name == 'Footer', 'symbol names', symbols)
check(symbols[1].range.start.line == 2 and symbols[1].range['end'].line == 5, 'block range',
  symbols[1].range)
check(symbols[1].children and symbols[1].children[1].name == 'WriteTax(price)', 'children',
  symbols[1].children)

local folds = ask('textDocument/foldingRange', { textDocument = document })
check(#folds == 2 and folds[1].startLine == 2 and folds[1].endLine == 5, 'folding ranges', folds)

-- WriteTax is defined in inc/tax.inc, which main.asp includes through inc/common.inc.
local definition = ask('textDocument/definition', {
  textDocument = document, position = { line = 4, character = 10 } })
check(#definition == 1, 'one definition expected', definition)
check(vim.uri_to_fname(definition[1].uri) == root .. '/inc/tax.inc', 'definition file',
  definition)
check(definition[1].range.start.line == 1 and definition[1].range.start.character == 9,
  'definition place', definition)

-- Workspace symbols come from the index of the whole folder, built after `initialized`
-- with work-done progress the client shows (Neovim keeps it in client.messages.progress).
local found = ask('workspace/symbol', { query = 'tax' })
local names = {}
for _, s in ipairs(found) do names[#names + 1] = s.name end
check(vim.deep_equal(names, { 'TaxRate', 'WriteTax' }), 'workspace symbols', found)
check(vim.uri_to_fname(found[2].location.uri) == root .. '/inc/tax.inc', 'workspace symbol file',
  found)
local progressed = vim.wait(5000, function()
  local p = client.messages.progress['ondrex:index']
  return p ~= nil and p.done == true
end, 20)
check(progressed, 'the index build reported no finished progress', client.messages.progress)
check(client.messages.progress['ondrex:index'].message == '3 files, 4 symbols',
  'progress summary', client.messages.progress)

vim.lsp.stop_client(client_id)
vim.wait(5000, function() return vim.lsp.get_client_by_id(client_id) == nil end, 20)
io.stdout:write('neovim_client.lua: all answers as expected\n')
vim.cmd('qall!')
