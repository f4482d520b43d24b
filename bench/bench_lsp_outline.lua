-- The outline of a file in Neovim after :write, two ways in the same editor session: through
-- `ondrex lsp` (the change already sent as typed, then textDocument/documentSymbol) and through
-- ctags run on save (what outline plugins do: ctags on the file, its lines parsed). Run by
-- bench_lsp.py with ONDREX and OUTLINE_FILE set; prints the medians in ms.
local ondrex = os.getenv('ONDREX')
local file = os.getenv('OUTLINE_FILE')
local runs = 20

local function fail(message)
  io.stderr:write('bench_lsp_outline.lua: ' .. message .. '\n')
  vim.cmd('cquit 1')
end

local client_id = vim.lsp.start_client({
  name = 'ondrex',
  cmd = { ondrex, 'lsp', '--stdio' },
  flags = { debounce_text_changes = 0 },
})
vim.cmd('edit ' .. file)
local buf = vim.api.nvim_get_current_buf()
vim.lsp.buf_attach_client(buf, client_id)
if not vim.wait(10000, function()
  local c = vim.lsp.get_client_by_id(client_id)
  return c ~= nil and c.initialized
end, 5) then fail('the server did not initialize') end
local client = vim.lsp.get_client_by_id(client_id)

local function lsp_outline()
  local answer = client.request_sync('textDocument/documentSymbol',
    { textDocument = { uri = vim.uri_from_bufnr(buf) } }, 10000, buf)
  if not answer or answer.err then fail('documentSymbol failed') end
  return #answer.result
end

local function ctags_outline()
  local entries = {}
  for _, line in ipairs(vim.fn.systemlist({ 'ctags', '-f', '-', '--fields=+n', file })) do
    local name, number = line:match('^([^\t]+)\t.-line:(%d+)')
    if name then entries[#entries + 1] = { name = name, line = tonumber(number) } end
  end
  return #entries
end

local function median(values)
  table.sort(values)
  return values[math.floor(#values / 2) + 1]
end

local function measure(outline)
  local times, count = {}, 0
  outline() -- warm
  for i = 1, runs do
    -- One character typed, then the save the outline follows.
    local line = vim.api.nvim_buf_get_lines(buf, 2499, 2500, false)[1]
    vim.api.nvim_buf_set_lines(buf, 2499, 2500, false, { i % 2 == 0 and line:sub(2) or 'x' .. line })
    local t0 = vim.loop.hrtime()
    vim.cmd('silent write')
    count = outline()
    times[#times + 1] = (vim.loop.hrtime() - t0) / 1e6
  end
  return median(times), count
end

local lsp_ms, lsp_count = measure(lsp_outline)
local ctags_ms, ctags_count = measure(ctags_outline)
io.stdout:write(string.format('ondrex lsp     %8.2f ms (%d symbols)\n', lsp_ms, lsp_count))
io.stdout:write(string.format('ctags on save  %8.2f ms (%d tags)\n', ctags_ms, ctags_count))
io.stdout:write(string.format('ctags / ondrex %8.2f\n', ctags_ms / lsp_ms))
vim.lsp.stop_client(client_id)
vim.cmd('qall!')
