// The engine's three functions (web/binding.cpp) over its wasm module:
// UTF-8 texts in, JSON out. The page and the tests under node both use it.
export function wrap(module) {
  const call = (name, texts, ...numbers) => {
    const pointers = texts.map((text) => {
      const size = module.lengthBytesUTF8(text) + 1;
      const pointer = module._malloc(size);
      module.stringToUTF8(text, pointer, size);
      return pointer;
    });
    try {
      return module[`_payslip_${name}`](...pointers, ...numbers);
    } finally {
      pointers.forEach((pointer) => module._free(pointer));
    }
  };
  return {
    inputs: () => JSON.parse(module.UTF8ToString(call('inputs', []))),
    // With `explain`, each line also carries its base, rate, rule, formula and result.
    // A fragment with view=compare, ladder or check also answers that view.
    slip: (fragment, explain = true) => JSON.parse(module.UTF8ToString(call('slip', [fragment], explain ? 1 : 0))),
    accepts: (field, text) => call('accepts', [field, text]) === 1,
  };
}
