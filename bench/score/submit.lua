-- wrk script: handshake and submission pairs against comet-score-server.
-- Each handshake's token is used by the next submission on the same thread.

local alphabet = "QWERTYUPASDFGHJKLXCVBNM987654321"
local tokens = {}
local counter = 0
-- Globals, so that done() can read them from every thread.
submitted = 0
refused = 0

-- The game's text encoding: five bits a symbol, most significant first.
local function encode(plain)
  local out = {}
  local acc, bits = 0, 0
  for i = 1, #plain do
    acc = acc * 256 + plain:byte(i)
    bits = bits + 8
    while bits >= 5 do
      local shift = 2 ^ (bits - 5)
      local v = math.floor(acc / shift) % 32
      out[#out + 1] = alphabet:sub(v + 1, v + 1)
      acc = acc % shift
      bits = bits - 5
    end
  end
  return table.concat(out)
end

local function plain_text(score, token)
  local text = "type=0|name=Bench|score=" .. score .. "|key=R|p=" .. token .. "|add=|z="
  while #text % 5 ~= 0 do text = text .. "0" end
  return text
end

request = function()
  local token = table.remove(tokens)
  if token == nil then
    return wrk.format("GET", "/cgi/version.pl?version&prg=CometLaneDerby")
  end
  counter = counter + 1
  return wrk.format("GET", "/cgi/version.pl?hs&prg=CometLaneDerby&inf=" ..
                    encode(plain_text(counter % 1000000, token)))
end

response = function(status, headers, body)
  if body:sub(1, 3) == "OK|" then
    local token = body:match("^OK|[^|]*|[^|]*|[^|]*|([^|]*)|")
    if token then tokens[#tokens + 1] = token end
  elseif status == 200 then
    submitted = submitted + 1
  else
    refused = refused + 1
  end
end

local threads = {}

setup = function(thread)
  threads[#threads + 1] = thread
end

done = function(summary, latency, requests)
  local total, bad = 0, 0
  for _, thread in ipairs(threads) do
    total = total + thread:get("submitted")
    bad = bad + thread:get("refused")
  end
  local seconds = summary.duration / 1e6
  io.write(string.format("submissions stored: %d (%.0f/s), refused: %d\n", total,
                         total / seconds, bad))
end
