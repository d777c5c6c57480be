-- A real editor as an author uses it: Neovim opens the train description as
-- Windows-1252, starts `tracciato lsp` as its language client, and writes
-- what the server told it to the file named by TRACCIATO_NVIM_OUT. The
-- client is started as Neovim 0.7 does it (vim.lsp.start_client), which the
-- later versions keep.
local tool = os.getenv("TRACCIATO_TOOL")
local out = os.getenv("TRACCIATO_NVIM_OUT")

local client = vim.lsp.start_client({
  name = "tracciato",
  cmd = { tool, "lsp" },
  root_dir = vim.fn.getcwd(),
})
vim.lsp.buf_attach_client(0, client)

local ok = vim.wait(20000, function() return #vim.diagnostic.get(0) > 0 end, 50)
local lines = {}
for _, d in ipairs(vim.diagnostic.get(0)) do
  table.insert(lines, string.format("%d:%d: %s", d.lnum + 1, d.col + 1, d.message))
end
if not ok then table.insert(lines, "no diagnostics arrived") end

-- Hover on the position of the signal after the mistyped key.
local result = vim.lsp.buf_request_sync(0, "textDocument/hover", {
  textDocument = { uri = vim.uri_from_bufnr(0) },
  position = { line = 30, character = 13 },
}, 10000)
for _, r in pairs(result or {}) do
  if r.result and r.result.contents then
    table.insert(lines, "hover: " .. (r.result.contents.value or ""):gsub("\n.*", ""))
  end
end
vim.fn.writefile(lines, out)
vim.lsp.stop_client(client)
vim.wait(5000, function() return vim.lsp.get_client_by_id(client) == nil end, 50)
vim.cmd("qall!")
