#!/usr/bin/env bash
# Checks packaging/k8s/folivox-batch-job.yaml without a cluster: yamllint
# (Debian) for the YAML itself, then the Job against the Kubernetes API schema
# of npm's kubernetes-models: its validator for types, formats, enumerations
# and required fields, and TypeScript's excess-property check over its types
# for field names that the schema does not have (a misspelt field would
# otherwise be dropped by the API server without a word).
#
#   scripts/check-job-manifest.sh [FILE.yaml]
#
# The npm packages, at the versions below, are installed once into
# build/job-manifest-check/.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
FILE=$(realpath "${1:-$ROOT/packaging/k8s/folivox-batch-job.yaml}")
WORK=$ROOT/build/job-manifest-check
PACKAGES=(kubernetes-models@5.1.0 yaml@2.9.1 typescript@5.9.3)

command -v yamllint >/dev/null || { echo "check-job-manifest: yamllint is missing (apt install yamllint)" >&2; exit 1; }
command -v npm >/dev/null || { echo "check-job-manifest: npm is missing (apt install npm)" >&2; exit 1; }
yamllint -s -d '{extends: default, rules: {line-length: {max: 120}}}' "$FILE"

mkdir -p "$WORK"
cd "$WORK"
if [ ! -f installed ] || [ "$(cat installed)" != "${PACKAGES[*]}" ]; then
  [ -f package.json ] || echo '{"private": true, "type": "module"}' > package.json
  npm install --no-audit --no-fund --silent "${PACKAGES[@]}"
  echo "${PACKAGES[*]}" > installed
fi

cat > check.mjs <<'JS'
import { readFileSync, writeFileSync } from "node:fs";
import { parseAllDocuments } from "yaml";
import { Job } from "kubernetes-models/batch/v1";
const [file, typed] = process.argv.slice(2);
const docs = parseAllDocuments(readFileSync(file, "utf8"));
if (docs.length !== 1) throw new Error(`${file}: ${docs.length} documents, expected one Job`);
if (docs[0].errors.length) throw new Error(docs[0].errors.join("\n"));
const job = docs[0].toJS();
new Job(job).validate();  // throws with every schema error
writeFileSync(typed, 'import type { IJob } from "kubernetes-models/batch/v1/Job";\n' +
  `export const job: IJob = ${JSON.stringify(job, null, 2)};\n`);
JS
node check.mjs "$FILE" job.ts
npx --no-install tsc --noEmit --strict --module nodenext --moduleResolution nodenext --target es2022 job.ts
echo "check-job-manifest: $FILE is a valid Kubernetes batch/v1 Job"
